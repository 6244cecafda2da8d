// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include <QObject>
#include <QString>

#include "app/command_target.h"

class QMainWindow;

namespace penmoji {

class EditorDocument;
class FileRenderer;
class UserInteraction;

// The commands that render into a file and the render settings: render as, re-render and the
// settings dialog. The rendering runs off the GUI thread; the file is written when it ends.
class RenderCommands final : public CommandTarget {
public:
    RenderCommands(EditorDocument& document, UserInteraction& interaction, FileRenderer& renderer,
                   QMainWindow& window);

    bool handlesCommand(int id) const override;
    void executeCommand(int id) override;
    CommandState commandState(int id) const override;

private:
    void renderAs();
    void reRender();
    // Renders into `path`; once written, `written` runs. A file that was not written is told
    // to the user (a cancelled rendering is not told).
    void renderToFile(const QString& path, const QString& extension, std::function<void()> written);
    void runRenderOptionsDialog();
    void message(const QString& text);

    EditorDocument& document_;
    UserInteraction& interaction_;
    FileRenderer& renderer_;
    QMainWindow& window_;
};

}  // namespace penmoji
