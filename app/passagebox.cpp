#include "passagebox.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace riderar {

namespace {

constexpr char16_t carriageReturn = u'\r';
constexpr char16_t lineFeed = u'\n';
constexpr char16_t deleteCharacter = 0x7F;
constexpr char16_t replacementCharacter = 0xFFFD;

// The control code that Ctrl with this key types, where the platform left the text empty.
std::optional<std::int16_t> controlCodeFor(int key)
{
    if (key >= Qt::Key_At && key <= Qt::Key_Underscore)
        return static_cast<std::int16_t>(key - Qt::Key_At);
    return std::nullopt;
}

} // namespace

std::vector<std::int16_t> typedCodes(const QKeyEvent &event)
{
    const int key = event.key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Delete)
        return {};
    if (event.modifiers() & (Qt::AltModifier | Qt::MetaModifier))
        return {};

    const QString text = event.text();
    std::vector<std::int16_t> codes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t unit = text.at(i).unicode();
        if (unit == deleteCharacter)
            continue;
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            // A character beyond 16 bits has no code of its own: it arrives as one keystroke
            // that matches nothing.
            unit = replacementCharacter;
            ++i;
        }
        codes.push_back(static_cast<std::int16_t>(unit));
    }
    if (codes.empty() && text.isEmpty() && (event.modifiers() & Qt::ControlModifier)) {
        if (const auto code = controlCodeFor(key))
            codes.push_back(*code);
    }
    return codes;
}

PassageBox::PassageBox(QWidget *parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    // Keyboard selection keeps the caret visible and lets the arrow keys move it.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WordWrap);
    setTabChangesFocus(true);
    setUndoRedoEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    document()->setDocumentMargin(1);
}

void PassageBox::setPassage(const Text &text)
{
    m_passage = text;
    m_pairedReturns.clear();
    m_selStart = 0;
    m_selStartInDocument = 0;
    QString shown;
    shown.reserve(static_cast<qsizetype>(text.size()));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == carriageReturn && i + 1 < text.size() && text[i + 1] == lineFeed) {
            m_pairedReturns.push_back(static_cast<int>(i));
            continue;
        }
        shown.append(c == carriageReturn ? QChar(lineFeed) : QChar(c));
    }
    setPlainText(shown);
}

int PassageBox::documentPosition(int passagePos) const
{
    const int p = std::clamp(passagePos, 0, static_cast<int>(m_passage.size()));
    const auto before = std::lower_bound(m_pairedReturns.begin(), m_pairedReturns.end(), p);
    return p - static_cast<int>(before - m_pairedReturns.begin());
}

int PassageBox::passagePosition(int documentPos) const
{
    // The smallest passage position that maps to documentPos: before a CR LF, not between.
    int p = std::max(documentPos, 0);
    for (const int paired : m_pairedReturns) {
        if (paired >= p)
            break;
        ++p;
    }
    return std::min(p, static_cast<int>(m_passage.size()));
}

void PassageBox::setSelStart(int p)
{
    m_selStart = std::clamp(p, 0, static_cast<int>(m_passage.size()));
    m_selStartInDocument = documentPosition(m_selStart);
    QTextCursor cursor = textCursor();
    cursor.setPosition(m_selStartInDocument);
    setTextCursor(cursor);
}

void PassageBox::setSelLength(int n)
{
    const int start = selStart();
    const int end = std::min(start + std::max(n, 0), static_cast<int>(m_passage.size()));
    QTextCursor cursor = textCursor();
    cursor.setPosition(documentPosition(start));
    cursor.setPosition(documentPosition(end), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

int PassageBox::selStart() const
{
    // Unless the user has moved the caret since, the start is the one last set.
    const int start = textCursor().selectionStart();
    return start == m_selStartInDocument ? m_selStart : passagePosition(start);
}

int PassageBox::selLength() const
{
    const QTextCursor cursor = textCursor();
    return cursor.hasSelection() ? passagePosition(cursor.selectionEnd()) - selStart() : 0;
}

void PassageBox::keyPressEvent(QKeyEvent *event)
{
    const std::vector<std::int16_t> codes = typedCodes(*event);
    if (codes.empty()) {
        // Caret movement and the like; the box is read-only, so nothing changes the text.
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    for (const std::int16_t code : codes)
        Q_EMIT keyPressed(code);
}

} // namespace riderar
