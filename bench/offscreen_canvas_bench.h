// SPDX-License-Identifier: MIT
// What the editor's offscreen benchmarks share: noting when the canvas has painted, and a main
// that runs them on Qt's offscreen platform unless another is asked for.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QObject>

namespace penmoji::bench {

// Notes the canvas's paint events once armed: new text is on the screen with the first paint
// after it was delivered.
class PaintWatch : public QObject {
public:
    bool armed = false;
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (armed && event->type() == QEvent::Paint) {
            painted = true;
        }
        return QObject::eventFilter(watched, event);
    }
};

inline int runOffscreenBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace penmoji::bench
