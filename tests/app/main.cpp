#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
