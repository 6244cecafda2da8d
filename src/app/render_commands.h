// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include <QObject>
#include <QString>

class QMainWindow;

namespace penmoji {

class CommandRegistry;
class EditorDocument;
class FileRenderer;
class UserInteraction;

// The commands that render into a file and the render settings: render as, re-render and the
// settings dialog. The rendering runs off the GUI thread; the file is written when it ends.
class RenderCommands final {
public:
    RenderCommands(EditorDocument& document, UserInteraction& interaction, FileRenderer& renderer,
                   QMainWindow& window, CommandRegistry& commands);

private:
    void renderAs();
    void reRender();
    // Renders into `path`; once written, `written` runs. A file that was not written is told
    // to the user (a cancelled rendering is not told).
    void renderToFile(const QString& path, const QString& extension, std::function<void()> written);
    void runRenderOptionsDialog();
    void toggleFineMatching();
    void message(const QString& text);

    EditorDocument& document_;
    UserInteraction& interaction_;
    FileRenderer& renderer_;
    QMainWindow& window_;
};

}  // namespace penmoji
