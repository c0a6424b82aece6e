#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace riderar {

/// A frame: the toolkit's etched group border around an area filled flat with its back
/// colour, and an optional caption at the left of the top border line.
class PanelFrame : public QWidget
{
    Q_OBJECT

public:
    PanelFrame(const QString &caption, QWidget *parent);

    QString caption() const { return m_caption; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
};

} // namespace riderar
