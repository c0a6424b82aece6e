#pragma once

#include "text.h"

#include <QPlainTextEdit>

#include <cstdint>
#include <optional>
#include <vector>

class QKeyEvent;

namespace riderar {

/// The character codes a key event types, in order: printable characters, Enter (13), Backspace
/// (8), Escape (27) and other control characters. Keys that type nothing on a PC keyboard give
/// none: arrows, function keys, modifiers alone, Delete, Tab, and Alt or Meta combinations,
/// which belong to the window's access keys.
std::vector<std::int16_t> typedCodes(const QKeyEvent &event);

/// Text1, the passage box: read-only, borderless, word-wrapped, without scroll bars, showing its
/// selection only while it has the focus. It reports every typed character and keeps the text
/// exactly as set. Positions count a line break (CR LF) as two characters, as the passage does,
/// while the document underneath holds one paragraph break for it.
class PassageBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit PassageBox(QWidget *parent);

    Text passage() const { return m_passage; }
    void setPassage(const Text &text);

    /// An insertion point at passage position p, or at the end if p lies beyond it.
    void setSelStart(int p);
    /// Selects n characters from the current selection start, or the rest of the text.
    void setSelLength(int n);
    /// The current selection in passage positions.
    int selStart() const;
    int selLength() const;

    /// The document position that a passage position maps to, and back.
    int documentPosition(int passagePos) const;
    int passagePosition(int documentPos) const;

Q_SIGNALS:
    /// A character typed while the box has the focus.
    void keyPressed(std::int16_t code);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    Text m_passage;
    /// The selection start last set, in passage positions, and where it put the cursor: a
    /// position between CR and LF has no document position of its own.
    int m_selStart = 0;
    int m_selStartInDocument = 0;
    /// Passage positions of the carriage returns that pair with a following line feed: the
    /// document holds one paragraph break for the two.
    std::vector<int> m_pairedReturns;
};

} // namespace riderar
