#include <QApplication>
#include <memory>

#include "app/app_state.h"
#include "canvas/edit_canvas.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    auto state = std::make_unique<penmoji::AppState>();
    penmoji::CEditCanvas canvas(*state);
    canvas.resize(640, 480);
    canvas.show();
    return QApplication::exec();
}
