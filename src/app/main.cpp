#include <QApplication>
#include <QStringList>

#include "app/main_app.h"
#include "app/qt_translations.h"
#include "app/user_interaction.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(PENMOJI_APP_ID));
    penmoji::installQtTranslations(application);
    penmoji::DesktopInteraction interaction;
    penmoji::CMainApp mainApp(interaction);
    // penmoji [FILE.pmj]: the drawing to open at start.
    const QStringList arguments = QApplication::arguments();
    if (!mainApp.initInstance(arguments.size() > 1 ? arguments.at(1) : QString())) {
        return 1;
    }
    return QApplication::exec();
}
