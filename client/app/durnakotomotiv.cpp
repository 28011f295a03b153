// Program entry: the application, its look, the main window (whose creation handler runs
// the sign-in) and the message loop. The process ends only through an immediate exit.

#include <unistd.h>

#include <QApplication>
#include <QScreen>

#include "app/gorunum.hpp"
#include "app/kurulum.hpp"
#include "app/utils.hpp"

int main(int argc, char** argv)
{
    // The program reads no command line of its own; Qt gets only the program name.
    int qtArgc = argc > 0 ? 1 : 0;
    // The request form's browser cannot sandbox itself for the super-user and would end the
    // program instead (a demo machine often runs as root).
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The request form's browser shares its graphics contexts; set before the application.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication uygulama(qtArgc, argv);
    durnak::client::FiordFlatUygula(uygulama);
    durnak::client::BaglantiMesajlariniBagla();

    durnak::client::TForm1 form(durnak::client::AnaPencereKancalari());
    durnak::client::AnaPencereyiBagla(form);
    form.FormCreate();

    // Maximised and centred; the geometry also holds where no window manager maximises.
    if (QScreen* ekran = QGuiApplication::primaryScreen()) form.setGeometry(ekran->availableGeometry());
    form.showMaximized();
    return uygulama.exec();
}
