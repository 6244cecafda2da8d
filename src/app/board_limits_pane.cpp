// SPDX-License-Identifier: MIT
#include "app/board_limits_pane.h"

#include <QCoreApplication>
#include <QStringList>

#include "app/app_texts.h"
#include "canvas/editor_document.h"
#include "compose/board_limits.h"

namespace penmoji {
namespace {

// The limit's name and the most the board takes of it.
QString limitText(BoardLimit limit, const BoardProfile& profile) {
    switch (limit) {
        case BoardLimit::Bytes:
            return QString::fromUtf8(text::kBytesOverLimit).arg(profile.maxBytes);
        case BoardLimit::Lines:
            return QString::fromUtf8(text::kLinesOverLimit).arg(profile.maxLines);
        case BoardLimit::LineBytes:
            return QString::fromUtf8(text::kLineBytesOverLimit).arg(profile.maxLineBytes);
    }
    return {};
}

const BoardProfile& chosenProfile(const EditorDocument& document) {
    const auto profiles = boardProfiles();
    const auto index = static_cast<std::size_t>(document.boardProfile());
    return index < profiles.size() ? profiles[index] : unlimitedBoardProfile();
}

QString labelOf(const BoardProfile& profile) {
    return QString::fromUtf8(profile.label.data(), static_cast<qsizetype>(profile.label.size()));
}

}  // namespace

BoardPaneText boardPaneText(std::string_view art, const BoardProfile& profile) {
    const BoardCheck check = checkBoardLimits(art, profile);
    const BoardFigures& f = check.figures;
    QString shown =
        QString::fromUtf8(text::kTextFigures).arg(f.bytes).arg(f.lines).arg(f.longestLineBytes);
    if (!check.fits()) {
        QStringList over;
        for (const BoardLimit limit : check.exceeded) {
            over.append(limitText(limit, profile));
        }
        shown += QString::fromUtf8(text::kOverBoardLimits)
                     .arg(over.join(QCoreApplication::translate("Penmoji", "・")));
    }
    return {shown, !check.fits()};
}

BoardLimitsPane::BoardLimitsPane(const EditorDocument& document, QWidget* parent)
    : QLabel(parent), document_(document) {
    setObjectName(QStringLiteral("figuresPane"));
}

void BoardLimitsPane::showArt(std::string_view text) {
    art_.emplace(text.substr(0, text.find('\0')));
    refresh();
}

void BoardLimitsPane::clearArt() {
    art_.reset();
    refresh();
}

void BoardLimitsPane::refresh() {
    const BoardProfile& profile = chosenProfile(document_);
    setToolTip(profile.unlimited() ? QString()
                                   : QString::fromUtf8(text::kBoardTip).arg(labelOf(profile)));
    if (!art_) {
        clear();
        setStyleSheet({});
        return;
    }
    const BoardPaneText shown = boardPaneText(*art_, profile);
    setText(shown.text);
    setStyleSheet(shown.exceeded ? QStringLiteral("color: red;") : QString());
}

}  // namespace penmoji
