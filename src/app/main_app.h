// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include <QSettings>
#include <QString>

namespace penmoji {

class CMainFrame;
class CommandRegistry;
class EditorDocument;
class RecentFiles;
class UserInteraction;

// The application: owns the document, what is remembered between runs and the main window, and
// handles the last link of the command route, the about box and exit.
class CMainApp {
public:
    explicit CMainApp(UserInteraction& interaction);
    ~CMainApp();

    // Builds and shows the main window, with the drawing `file` in it when one is named. Needs
    // a running QApplication.
    bool initInstance(const QString& file = {});

    CMainFrame* mainFrame() { return frame_.get(); }
    EditorDocument& document() { return *document_; }
    QSettings* settings() { return settings_.get(); }

private:
    // The about box, the manual and exit.
    void declareCommands(CommandRegistry& commands);

    UserInteraction& interaction_;
    // Large (the drawing alone is some 320 KB), so never on the stack.
    std::unique_ptr<EditorDocument> document_;
    // What is remembered between runs; made once the application has its names.
    std::unique_ptr<QSettings> settings_;
    std::unique_ptr<RecentFiles> recentFiles_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace penmoji
