#pragma once

#include "flatbutton.h"
#include "passagebox.h"
#include "practiceform.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace riderar::testing {

/// A practice window, shown and active, as the user first sees it.
class FormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = std::make_unique<PracticeForm>();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    void TearDown() override { form.reset(); }

    template <typename Widget = QWidget> Widget *control(const QString &name) const
    {
        auto *widget = form->findChild<Widget *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }

    PassageBox *passageBox() const { return control<PassageBox>(QStringLiteral("Text1")); }
    FlatButton *key(int index) const
    {
        return control<FlatButton>(QStringLiteral("Keys(%1)").arg(index));
    }

    /// The window's pixels, as drawn now.
    QImage grab() const { return form->grab().toImage(); }

    /// A control's rectangle in the window's client area.
    QRect windowRect(const QWidget *widget) const
    {
        return QRect(widget->mapTo(form.get(), QPoint(0, 0)), widget->size());
    }

    std::unique_ptr<PracticeForm> form;
};

} // namespace riderar::testing
