#include <QApplication>

#include "app/main_app.h"
#include "app/user_interaction.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(PENMOJI_APP_ID));
    penmoji::DesktopInteraction interaction;
    penmoji::CMainApp mainApp(interaction);
    if (!mainApp.initInstance()) {
        return 1;
    }
    return QApplication::exec();
}
