#pragma once
#include <QDir>
#include <QTemporaryDir>
#include <QtGlobal>

namespace ostrivane::test {

// Points HOME and the XDG folders at a fresh temporary folder while it lives, so that the
// window's data folder is a new, empty one.
class QtTempHome {
  public:
    QtTempHome() {
        qputenv("HOME", dir_.path().toUtf8());
        qputenv("XDG_DATA_HOME", (dir_.path() + "/.local/share").toUtf8());
        qputenv("XDG_CONFIG_HOME", (dir_.path() + "/.config").toUtf8());
        qputenv("XDG_DOCUMENTS_DIR", (dir_.path() + "/Documents").toUtf8());
        QDir(dir_.path()).mkpath(QStringLiteral("Documents"));
    }
    QString path() const { return dir_.path(); }
    QString data_folder() const { return dir_.path() + "/.local/share/Ostrivane/"; }

  private:
    QTemporaryDir dir_;
};

}  // namespace ostrivane::test
