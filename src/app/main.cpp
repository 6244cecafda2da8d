#include <cstdlib>

#include <QApplication>
#include <QStringList>

#include "app/background_task.h"
#include "app/main_app.h"
#include "app/qt_translations.h"
#include "app/user_interaction.h"

namespace {

int runEditor(const QStringList& arguments) {
    penmoji::DesktopInteraction interaction;
    penmoji::CMainApp mainApp(interaction);
    // penmoji [FILE.pmj]: the drawing to open at start.
    if (!mainApp.initInstance(arguments.size() > 1 ? arguments.at(1) : QString())) {
        return 1;
    }
    return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(PENMOJI_APP_ID));
    penmoji::installQtTranslations(application);
    // The window and the settings are gone when this returns.
    const int status = runEditor(QApplication::arguments());
    // Work the user gave up on (an SVG import stuck inside the SVG library) may still be
    // running and using the application's fonts: the program ends without waiting for it and
    // before the application is taken down under it.
    if (penmoji::BackgroundTask::runningThreads() > 0) {
        std::_Exit(status);
    }
    return status;
}
