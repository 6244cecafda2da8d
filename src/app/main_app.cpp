// SPDX-License-Identifier: MIT
#include "app/main_app.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "app/about_dialog.h"
#include "app/app_texts.h"
#include "app/command_ids.h"
#include "app/command_registry.h"
#include "app/document_commands.h"
#include "app/main_frame.h"
#include "app/recent_files.h"
#include "app/settings_store.h"
#include "app/user_interaction.h"
#include "canvas/editor_document.h"

namespace penmoji {

CMainApp::CMainApp(UserInteraction& interaction)
    : interaction_(interaction), document_(std::make_unique<EditorDocument>()) {}

// The frame holds references to the document and the settings, so it goes first.
CMainApp::~CMainApp() {
    frame_.reset();
}

bool CMainApp::initInstance(const QString& file) {
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    settings_ = openProgramSettings();
    recentFiles_ = std::make_unique<RecentFiles>(*settings_);
    document_->setRenderSettings(readRenderSettings(*settings_));
    document_->setGrid(readGridSettings(*settings_));
    document_->setBoardProfile(readBoardProfile(*settings_));
    frame_ = std::make_unique<CMainFrame>(
        *document_, settings_.get(), recentFiles_.get(), interaction_,
        [this](CommandRegistry& commands) { declareCommands(commands); });
    frame_->restoreView();
    frame_->show();
    if (!file.isEmpty()) {
        frame_->documentCommands().openAtStart(file);
    }
    return true;
}

namespace {

// The README beside the installed program, or the project's page when there is none.
QUrl manualUrl() {
    const QString installed = QDir(QCoreApplication::applicationDirPath())
                                  .filePath(QStringLiteral("../share/doc/penmoji/README.md"));
    if (QFileInfo::exists(installed)) {
        return QUrl::fromLocalFile(QDir::cleanPath(installed));
    }
    return QUrl(QStringLiteral("https://github.com/penmoji/penmoji#readme"));
}

}  // namespace

void CMainApp::declareCommands(CommandRegistry& commands) {
    commands.add({
        .id = command::kAbout,
        .text = QT_TRANSLATE_NOOP("Penmoji", "Penmoji のﾊﾞｰｼﾞｮﾝ情報(&A)..."),
        .prompt = text::kAboutPrompt,
        .tip = text::kAboutTip,
        .run =
            [this] {
                CAboutDialog about(frame_.get());
                interaction_.runDialog(about);
            },
    });
    commands.add({
        .id = command::kHelp,
        .text = text::kHelp,
        .prompt = text::kHelpPrompt,
        .run = [this] { interaction_.openUrl(manualUrl()); },
    });
    commands.add({
        .id = command::kExit,
        .text = QT_TRANSLATE_NOOP("Penmoji", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"),
        .prompt = text::kExitPrompt,
        .tip = text::kExitTip,
        .keys = {Qt::CTRL | Qt::Key_Q},
        // Closing asks about unsaved changes and may be cancelled.
        .run =
            [this] {
                if (frame_ != nullptr) {
                    frame_->close();
                }
            },
    });
}

}  // namespace penmoji
