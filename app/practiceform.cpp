#include "practiceform.h"

#include "flatbutton.h"
#include "fonts.h"
#include "formlayout.h"
#include "keyboardlayout.h"
#include "panelframe.h"
#include "passagebox.h"
#include "twips.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTime>
#include <QTimer>

#include <algorithm>
#include <charconv>
#include <utility>
#include <vector>

namespace riderar {

namespace {

constexpr int minuteMilliseconds = 60000;
constexpr qreal smallFontPoints = 9.75;
constexpr qreal largeFontPoints = 18;

constexpr Qt::WindowFlags formWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

QString qText(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString qText(const Text &text)
{
    return QString::fromStdU16String(text);
}

QString formCaption()
{
    return qText(formCaptionTitle) + QString(formCaptionBlanks, u' ') + qText(formCaptionContact);
}

QRect pixelRect(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

QColor resolve(Colour colour, const QPalette &system)
{
    switch (colour.role) {
    case Colour::Role::Rgb:
        return {colour.rgb.red, colour.rgb.green, colour.rgb.blue};
    case Colour::Role::ButtonFace:
        return system.color(QPalette::Button);
    case Colour::Role::ButtonText:
        return system.color(QPalette::ButtonText);
    case Colour::Role::None:
        break;
    }
    return {};
}

// Fills the widget flat with its back colour, where it has one, and writes in its text colour.
void applyColours(QWidget *widget, Colour back, Colour text)
{
    QPalette palette = widget->palette();
    if (back.role != Colour::Role::None) {
        // Buttons fill their background from the button role, other widgets from the window's.
        palette.setColor(widget->backgroundRole(), resolve(back, palette));
        widget->setAutoFillBackground(true);
    }
    if (text.role != Colour::Role::None) {
        const QColor colour = resolve(text, palette);
        palette.setColor(QPalette::WindowText, colour);
        palette.setColor(QPalette::ButtonText, colour);
    }
    widget->setPalette(palette);
}

// The index of a control array member from its name, "Level(2)" giving 2.
int arrayIndex(std::string_view name)
{
    const auto open = name.find('(');
    int index = -1;
    if (open != std::string_view::npos)
        std::from_chars(name.data() + open + 1, name.data() + name.size(), index);
    return index;
}

QFont fontFor(FontChoice choice, const QFont &window)
{
    switch (choice) {
    case FontChoice::SansSerif9_75:
        return sansSerifFont(smallFontPoints);
    case FontChoice::SansSerif18:
        return sansSerifFont(largeFontPoints);
    case FontChoice::Window:
        break;
    }
    return window;
}

// CR LF and a lone CR start a new line in a label, which breaks lines at LF only.
QString labelText(QString shown)
{
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(u'\r', u'\n');
    return shown;
}

// A key button's name is its array's with its index: "Keys(97)", "Key(1)".
QString keyObjectName(const KeySpec &row)
{
    const QString array =
        row.array == KeyArray::Keys ? QStringLiteral("Keys") : QStringLiteral("Key");
    return QStringLiteral("%1(%2)").arg(array).arg(row.index);
}

std::size_t scoreSlot(ScoreDisplay display)
{
    return static_cast<std::size_t>(display);
}

ScoreDisplay scoreDisplayFor(std::string_view name)
{
    static constexpr std::array<std::pair<std::string_view, ScoreDisplay>, 5> names{{
        {"ShowCorrectWords", ScoreDisplay::CorrectWords},
        {"ShowIncorrectWords", ScoreDisplay::IncorrectWords},
        {"ShowWordCount", ScoreDisplay::WordCount},
        {"ShowAccuracy", ScoreDisplay::Accuracy},
        {"ShowWordsPerMin", ScoreDisplay::WordsPerMin},
    }};
    const auto found = std::find_if(names.begin(), names.end(),
                                    [name](const auto &entry) { return entry.first == name; });
    Q_ASSERT(found != names.end());
    return found->second;
}

} // namespace

PracticeForm::PracticeForm(QWidget *parent) : QWidget(parent, formWindowFlags)
{
    setObjectName(QStringLiteral("PracticeForm"));
    setWindowTitle(formCaption());
    // The format named, so that no image plugin is probed for a picture we know.
    setWindowIcon(QIcon(QPixmap(QStringLiteral(":/assets/keyboard-icon.png"), "PNG")));
    setFont(windowFont());
    setFixedSize(twipsToPixels(formClientWidthTwips), twipsToPixels(formClientHeightTwips));
    applyColours(this, formBackColour, noColour);

    buildFrames();
    buildControls();
    buildKeyboard();
    setTabOrder();
    connectEvents();

    m_engine.load();
}

PracticeForm::~PracticeForm() = default;

QWidget *PracticeForm::container(std::string_view name)
{
    if (name.empty())
        return this;
    auto *frame = findChild<PanelFrame *>(qText(name));
    Q_ASSERT(frame);
    return frame;
}

void PracticeForm::buildFrames()
{
    for (const FrameSpec &row : frameSpecs) {
        auto *frame = new PanelFrame(qText(row.caption), container(row.container));
        frame->setObjectName(qText(row.name));
        frame->setGeometry(pixelRect(row.left, row.top, row.width, row.height));
        applyColours(frame, row.back, row.text);
        frame->setAutoFillBackground(false); // it fills itself flat as it paints
    }
    // The echo's frame covers the top of the function row's separators.
    container("Frame3(0)")->raise();
}

void PracticeForm::buildControls()
{
    m_levelGroup = new QButtonGroup(this);
    for (const ControlSpec &row : controlSpecs) {
        QWidget *parent = container(row.container);
        const QString caption = qText(row.caption);
        QWidget *widget = nullptr;
        switch (row.kind) {
        case ControlKind::PassageBox: {
            m_passageBox = new PassageBox(parent);
            QPalette palette = m_passageBox->palette();
            palette.setColor(QPalette::Base, resolve(row.back, palette));
            palette.setColor(QPalette::Text, resolve(row.text, palette));
            // Outside the focus the selection looks like the rest of the text.
            palette.setColor(QPalette::Inactive, QPalette::Highlight, resolve(row.back, palette));
            palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                             resolve(row.text, palette));
            m_passageBox->setPalette(palette);
            widget = m_passageBox;
            break;
        }
        case ControlKind::Echo:
            m_echo = new QLabel(parent);
            m_echo->setTextFormat(Qt::PlainText);
            m_echo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            m_echo->setWordWrap(true);
            widget = m_echo;
            break;
        case ControlKind::Timer:
            m_minuteTimer = new QTimer(parent);
            m_minuteTimer->setObjectName(qText(row.name));
            m_minuteTimer->setInterval(minuteMilliseconds);
            m_minuteTimer->setTimerType(Qt::PreciseTimer);
            continue;
        case ControlKind::OptionButton: {
            auto *option = new QRadioButton(caption, parent);
            option->setChecked(row.settings & Selected);
            m_levelGroup->addButton(option, arrayIndex(row.name));
            widget = option;
            break;
        }
        case ControlKind::PushButton: {
            auto *button = new FlatButton(caption, parent);
            button->setBackColour(resolve(row.back, button->palette()));
            if (row.name == "PickRandomWords")
                m_startButton = button;
            else if (row.name == "ResetScore")
                m_resetButton = button;
            else
                m_exitButton = button;
            widget = button;
            break;
        }
        case ControlKind::Label: {
            auto *label = new QLabel(caption, parent);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(((row.settings & Centred) ? Qt::AlignHCenter : Qt::AlignLeft) |
                                Qt::AlignTop);
            label->setWordWrap(row.settings & Wrap);
            if (row.settings & Border)
                label->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
            if (row.name.starts_with("Show"))
                m_scoreLabels[scoreSlot(scoreDisplayFor(row.name))] = label;
            widget = label;
            break;
        }
        case ControlKind::Picture: {
            auto *picture = new QLabel(parent);
            picture->setPixmap(QPixmap(caption, "PNG"));
            picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            picture->setFocusPolicy(Qt::StrongFocus);
            widget = picture;
            break;
        }
        }
        widget->setObjectName(qText(row.name));
        widget->setGeometry(pixelRect(row.left, row.top, row.width, row.height));
        widget->setFont(fontFor(row.font, font()));
        // A flat button paints its own back colour; the passage box fills from its base.
        const bool paintsOwnBack =
            row.kind == ControlKind::PushButton || row.kind == ControlKind::PassageBox;
        applyColours(widget, paintsOwnBack ? noColour : row.back, row.text);
    }
}

void PracticeForm::buildKeyboard()
{
    m_keysGroup = new QButtonGroup(this);
    m_keysGroup->setExclusive(false);
    for (const KeySpec &row : keySpecs) {
        auto *button = new FlatButton(qText(row.caption), this);
        const bool working = row.array == KeyArray::Keys;
        button->setObjectName(keyObjectName(row));
        button->setGeometry(pixelRect(row.left, row.top, row.width, row.height));
        if (working) {
            m_keys[static_cast<std::size_t>(row.index)] = button;
            m_keysGroup->addButton(button, row.index);
        }
    }
}

void PracticeForm::setTabOrder()
{
    std::vector<std::pair<int, QWidget *>> order;
    for (const ControlSpec &row : controlSpecs) {
        if (row.kind == ControlKind::Label || row.kind == ControlKind::Echo ||
            row.kind == ControlKind::Timer)
            continue;
        order.emplace_back(row.tab, findChild<QWidget *>(qText(row.name)));
    }
    for (const KeySpec &row : keySpecs)
        order.emplace_back(row.tab, findChild<QWidget *>(keyObjectName(row)));
    std::sort(order.begin(), order.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
}

void PracticeForm::connectEvents()
{
    connect(m_passageBox, &PassageBox::keyPressed, this,
            [this](std::int16_t code) { m_engine.keyPress(code); });
    connect(m_keysGroup, &QButtonGroup::idClicked, this,
            [this](int index) { m_engine.keyClick(static_cast<std::int16_t>(index)); });
    connect(m_levelGroup, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (checked)
            m_engine.levelClick(static_cast<std::int16_t>(index));
    });
    connect(m_startButton, &QPushButton::clicked, this, [this] { m_engine.startClick(); });
    connect(m_resetButton, &QPushButton::clicked, this, [this] { m_engine.resetClick(); });
    connect(m_exitButton, &QPushButton::clicked, this, &QWidget::close);
    connect(m_minuteTimer, &QTimer::timeout, this, [this] { m_engine.minuteTick(); });
}

bool PracticeForm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && !m_activated) {
        m_activated = true;
        m_engine.activate();
    }
    return QWidget::event(event);
}

void PracticeForm::closeEvent(QCloseEvent *event)
{
    // Nothing asks the user first. A passage choice under way sees the window closed and
    // stops there, touching no control; the event loop then ends the program.
    m_engine.windowClosed();
    m_minuteTimer->stop();
    QWidget::closeEvent(event);
}

Text PracticeForm::echo() const
{
    return m_echoText;
}

void PracticeForm::setEcho(const Text &caption)
{
    m_echoText = caption;
    m_echo->setText(labelText(qText(caption)));
}

Text PracticeForm::passageText() const
{
    return m_passageBox->passage();
}

void PracticeForm::setPassageText(const Text &text)
{
    m_passageBox->setPassage(text);
}

void PracticeForm::focusPassage()
{
    m_passageBox->setFocus(Qt::OtherFocusReason);
}

void PracticeForm::setPassageSelStart(std::int16_t p)
{
    m_passageBox->setSelStart(p);
}

void PracticeForm::setPassageSelLength(std::int16_t n)
{
    m_passageBox->setSelLength(n);
}

void PracticeForm::setMinuteTimerOn(bool on)
{
    // Switching on a running timer keeps its period: the next tick stays where it was due.
    if (!on)
        m_minuteTimer->stop();
    else if (!m_minuteTimer->isActive())
        m_minuteTimer->start();
}

void PracticeForm::setScoreCaption(ScoreDisplay display, const Text &caption)
{
    m_scoreLabels[scoreSlot(display)]->setText(qText(caption));
}

bool PracticeForm::setKeyColour(std::int16_t index, KeyColour colour)
{
    if (index < 0 || index > highestKeyIndex)
        return false;
    FlatButton *button = m_keys[static_cast<std::size_t>(index)];
    if (!button)
        return false;
    button->setBackColour(
        colour ? std::optional<QColor>(QColor(colour->red, colour->green, colour->blue))
               : std::nullopt);
    return true;
}

float PracticeForm::secondsSinceMidnight()
{
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

void PracticeForm::processPendingEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void PracticeForm::showMessageBox(const Text &prompt, const Text &title, int)
{
    // The prompt's LF CR is one line break on screen.
    QString shown = qText(prompt);
    shown.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::NoIcon, qText(title), labelText(shown), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("WarningBox"));
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.exec();
}

} // namespace riderar
