#include "headless.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform says so each time a dialog opens; real platforms do not.
void quietOffscreenNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message == QStringLiteral("This plugin does not support propagateSizeHints()"))
        return;
    defaultHandler(type, context, message);
}

} // namespace

int main(int argc, char **argv)
{
    defaultHandler = qInstallMessageHandler(quietOffscreenNotes);
    // The window tests run headless unless a platform is asked for.
    const riderar::testing::HeadlessSession headless;

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
