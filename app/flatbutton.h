#pragma once

#include <QColor>
#include <QPushButton>

#include <optional>

namespace riderar {

/// A push button drawn flat in its back colour, which may change while it is shown, with the
/// toolkit's bevel around it. Without a back colour of its own it shows the button face.
class FlatButton : public QPushButton
{
    Q_OBJECT

public:
    explicit FlatButton(const QString &caption, QWidget *parent);

    void setBackColour(std::optional<QColor> colour);
    std::optional<QColor> backColour() const { return m_back; }
    /// The colour the button is filled with now.
    QColor fillColour() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<QColor> m_back;
};

} // namespace riderar
