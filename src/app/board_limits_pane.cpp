#include "app/board_limits_pane.h"

#include "app/app_state.h"
#include "compose/board_limits.h"

namespace penmoji {
namespace {

QString limitName(BoardLimit limit) {
    switch (limit) {
        case BoardLimit::Bytes:
            return QString::fromUtf8("バイト数");
        case BoardLimit::Lines:
            return QString::fromUtf8("行数");
        case BoardLimit::LineBytes:
            return QString::fromUtf8("1 行のバイト数");
    }
    return {};
}

const BoardProfile& chosenProfile(const AppState& state) {
    const auto profiles = boardProfiles();
    const auto index = static_cast<std::size_t>(state.boardProfile);
    return index < profiles.size() ? profiles[index] : unlimitedBoardProfile();
}

}  // namespace

BoardPaneText boardPaneText(std::string_view art, const BoardProfile& profile) {
    const BoardCheck check = checkBoardLimits(art, profile);
    const BoardFigures& f = check.figures;
    QString text = QString::fromUtf8("%1 バイト / %2 行 / 最長の行 %3 バイト")
                       .arg(f.bytes)
                       .arg(f.lines)
                       .arg(f.longestLineBytes);
    if (!check.fits()) {
        QStringList over;
        for (const BoardLimit limit : check.exceeded) {
            over.append(limitName(limit));
        }
        text += QString::fromUtf8(" — %1が制限を超えています").arg(over.join(QStringLiteral("・")));
    }
    return {text, !check.fits()};
}

BoardLimitsPane::BoardLimitsPane(const AppState& state, QWidget* parent)
    : QLabel(parent), state_(state) {
    setObjectName(QStringLiteral("boardLimitsPane"));
    hide();
}

void BoardLimitsPane::showArt(std::string_view text) {
    art_.assign(text.substr(0, text.find('\0')));
    refresh();
}

void BoardLimitsPane::refresh() {
    const BoardProfile& profile = chosenProfile(state_);
    if (profile.unlimited()) {
        hide();
        return;
    }
    const BoardPaneText shown = boardPaneText(art_, profile);
    setText(shown.text);
    setToolTip(
        QString::fromUtf8(profile.label.data(), static_cast<qsizetype>(profile.label.size())));
    setStyleSheet(shown.exceeded ? QStringLiteral("color: red;") : QString());
    show();
}

}  // namespace penmoji
