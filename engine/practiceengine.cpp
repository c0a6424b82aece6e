#include "practiceengine.h"

#include "passages.h"
#include "practicecontrols.h"
#include "practicestate.h"

namespace riderar {

PracticeEngine::PracticeEngine(PracticeState &state, PracticeControls &controls)
    : m_state(state), m_controls(controls)
{}

void PracticeEngine::load()
{
    m_state.lineBreak = u"\r\n";
    m_state.started = false;
    FillPassages(m_state);
}

void PracticeEngine::activate()
{
    m_controls.focusPassage();
    m_state.level = 1;
}

// Practice itself is not wired up yet: until then typing, clicks and ticks change nothing.
void PracticeEngine::keyPress(std::int16_t) {}
void PracticeEngine::keyClick(std::int16_t) {}
void PracticeEngine::startClick() {}
void PracticeEngine::levelClick(std::int16_t) {}
void PracticeEngine::resetClick() {}
void PracticeEngine::minuteTick() {}

} // namespace riderar
