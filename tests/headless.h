#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

namespace riderar::testing {

/// Sets up a headless run of the window before QApplication starts: the offscreen platform
/// unless another is asked for, and a private runtime folder where the session has none. The
/// folder lives as long as this object.
class HeadlessSession
{
public:
    HeadlessSession()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtimeDir.path()));
    }

private:
    QTemporaryDir m_runtimeDir;
};

} // namespace riderar::testing
