#pragma once

// PracticeForm is the program's one window. It builds every control from the layout tables,
// owns the one PracticeState and hands each event of its controls to the PracticeEngine. The
// engine acts back on the controls only through the PracticeControls operations below, so the
// same engine runs against a scripted fake in the tests.

#include "practicecontrols.h"
#include "practiceengine.h"
#include "practicestate.h"

#include <QWidget>

#include <array>

class QButtonGroup;
class QCloseEvent;
class QLabel;
class QTimer;

namespace riderar {

class FlatButton;
class PassageBox;

class PracticeForm : public QWidget, public PracticeControls
{
    Q_OBJECT

public:
    explicit PracticeForm(QWidget *parent = nullptr);
    ~PracticeForm() override;

    const PracticeState &state() const { return m_state; }
    const PracticeEngine &engine() const { return m_engine; }

    // PracticeControls
    Text echo() const override;
    void setEcho(const Text &caption) override;
    Text passageText() const override;
    void setPassageText(const Text &text) override;
    void focusPassage() override;
    void setPassageSelStart(std::int16_t p) override;
    void setPassageSelLength(std::int16_t n) override;
    void setMinuteTimerOn(bool on) override;
    void setScoreCaption(ScoreDisplay display, const Text &caption) override;
    bool setKeyColour(std::int16_t index, KeyColour colour) override;
    float secondsSinceMidnight() override;
    void processPendingEvents() override;
    void showMessageBox(const Text &prompt, const Text &title, int style) override;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildFrames();
    void buildControls();
    void buildKeyboard();
    void setTabOrder();
    void connectEvents();
    QWidget *container(std::string_view name);

    PracticeState m_state;
    PracticeEngine m_engine{m_state, *this};
    bool m_activated = false;

    PassageBox *m_passageBox = nullptr;
    QLabel *m_echo = nullptr;
    Text m_echoText;
    QTimer *m_minuteTimer = nullptr;
    std::array<QLabel *, 5> m_scoreLabels{};
    std::array<FlatButton *, 127> m_keys{}; // Keys by index; empty where no button has it
    QButtonGroup *m_keysGroup = nullptr;
    QButtonGroup *m_levelGroup = nullptr;
    FlatButton *m_startButton = nullptr;
    FlatButton *m_resetButton = nullptr;
    FlatButton *m_exitButton = nullptr;
};

} // namespace riderar
