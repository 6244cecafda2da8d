// SPDX-License-Identifier: MIT
#include "app/render_options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "app/app_texts.h"
#include "app/dialog_text.h"
#include "app/dialog_units.h"
#include "app/user_interaction.h"
#include "compose/board_limits.h"
#include "compose/setting_text.h"

namespace penmoji {
namespace {

QCheckBox* makeCheckBox(QWidget* parent, const char* text, const char* name) {
    auto* box = new QCheckBox(QString::fromUtf8(text), parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QLineEdit* makeEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

// The same tip on a field and its label, so that pointing at either explains it.
void explain(std::initializer_list<QWidget*> widgets, const char* tip) {
    for (QWidget* widget : widgets) {
        widget->setToolTip(QString::fromUtf8(tip));
    }
}

QLabel* makeLabel(QWidget* parent, const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

}  // namespace

CRenderOptionsDialog::CRenderOptionsDialog(UserInteraction& interaction, QWidget* parent)
    : QDialog(parent), interaction_(interaction) {
    setWindowTitle(QCoreApplication::translate("Penmoji", "レンダリングオプション"));
    // Created in tab order.
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QCoreApplication::translate("Penmoji", "ｷｬﾝｾﾙ"), this);
    noEntitiesBox_ = makeCheckBox(this, "&&nbsp;などを使用しない", "noEntities");
    useDotsBox_ = makeCheckBox(this, "空白の中に「.」(ドット)を使用する", "useDots");
    underscoreRunsBox_ = makeCheckBox(this, "連続する半角スペースを _ 出力", "underscoreRuns");
    strictHalfSpacesBox_ =
        makeCheckBox(this, "ずれてもいいから半角連続スペースを徹底的に排除", "strictHalfSpaces");
    scanUnitEdit_ = makeEdit(this, "scanUnit");
    QLabel* scanUnitLabel = makeLabel(this, "レンダリングの走査単位");
    priorityEdit_ = makeEdit(this, "priorityFactor");
    QLabel* priorityLabel = makeLabel(this, "文字の優先度の倍率");
    thresholdEdit_ = makeEdit(this, "threshold");
    QLabel* thresholdLabel = makeLabel(this, "内積のしきい値");
    fineBox_ = makeCheckBox(this, "高品質マッチング", "fine");
    QLabel* boardLabel = makeLabel(this, "掲示板の制限");
    boardBox_ = new QComboBox(this);
    boardBox_->setObjectName(QStringLiteral("board"));
    for (const BoardProfile& profile : boardProfiles()) {
        boardBox_->addItem(
            QString::fromUtf8(profile.label.data(), static_cast<qsizetype>(profile.label.size())));
    }
    boardLabel->setBuddy(boardBox_);
    explain({noEntitiesBox_}, text::kNoEntitiesTip);
    explain({useDotsBox_}, text::kUseDotsTip);
    explain({underscoreRunsBox_}, text::kUnderscoreRunsTip);
    explain({strictHalfSpacesBox_}, text::kStrictHalfSpacesTip);
    explain({scanUnitEdit_, scanUnitLabel}, text::kScanUnitTip);
    explain({priorityEdit_, priorityLabel}, text::kPriorityTip);
    explain({thresholdEdit_, thresholdLabel}, text::kThresholdTip);
    explain({fineBox_}, text::kFineTip);
    explain({boardBox_, boardLabel}, text::kBoardChoiceTip);

    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    const DialogUnits units(fontMetrics());
    // The board is one of the settings, so it stands above the buttons.
    placeWidget(*ok, units.rect(135, 195, 50, 14));
    placeWidget(*cancel, units.rect(135, 212, 50, 14));
    placeWidget(*noEntitiesBox_, units.rect(10, 10, 130, 10));
    placeWidget(*useDotsBox_, units.rect(10, 25, 130, 10));
    placeWidget(*underscoreRunsBox_, units.rect(10, 55, 130, 10));
    placeWidget(*strictHalfSpacesBox_, units.rect(10, 70, 175, 10));
    placeWidget(*scanUnitLabel, units.rect(10, 95, 80, 10));
    placeWidget(*priorityLabel, units.rect(10, 111, 80, 10));
    placeWidget(*thresholdLabel, units.rect(10, 126, 80, 10));
    // The fields stay in one column right of the widest label, however wide the font draws it.
    const int labelsRight =
        std::max({scanUnitLabel->geometry().right(), priorityLabel->geometry().right(),
                  thresholdLabel->geometry().right()});
    const int fieldsLeft = std::max(units.x(100), labelsRight + units.x(6));
    const auto placeField = [&](QLineEdit& edit, int top) {
        QRect rect = units.rect(100, top, 40, 12);
        rect.moveLeft(fieldsLeft);
        edit.setGeometry(rect);
    };
    placeField(*scanUnitEdit_, 94);
    placeField(*priorityEdit_, 110);
    placeField(*thresholdEdit_, 125);
    placeWidget(*fineBox_, units.rect(10, 145, 120, 10));
    placeWidget(*boardLabel, units.rect(10, 162, 80, 10));
    placeWidget(*boardBox_, units.rect(10, 174, 175, 14));

    const QSize templateSize = units.size(199, 234);
    const QRect used = childrenRect();
    setFixedSize(std::max(templateSize.width(), used.right() + units.x(10)),
                 std::max(templateSize.height(), used.bottom() + units.y(10)));
}

void CRenderOptionsDialog::loadFrom(const RenderSettings& settings) {
    useDots = settings.useDots ? 1 : 0;
    noEntities = settings.noEntities ? 1 : 0;
    underscoreRuns = settings.underscoreRuns ? 1 : 0;
    strictHalfSpaces = settings.strictHalfSpaces ? 1 : 0;
    threshold = settings.innerProductThreshold;
    scanUnit = settings.scanStep;
    priorityFactor = settings.priorityScale;
    fine = settings.fine ? 1 : 0;
}

RenderSettings CRenderOptionsDialog::storedSettings() const {
    RenderSettings settings;
    settings.useDots = useDots != 0;
    settings.noEntities = noEntities != 0;
    settings.underscoreRuns = underscoreRuns != 0;
    settings.strictHalfSpaces = strictHalfSpaces != 0;
    settings.innerProductThreshold = threshold;
    settings.scanStep = scanUnit;
    settings.priorityScale = priorityFactor;
    settings.fine = fine != 0;
    return settings;
}

void CRenderOptionsDialog::showEvent(QShowEvent* event) {
    // A window restored from the task bar is shown again; only an opening fills the controls.
    if (!event->spontaneous()) {
        fillControls();
    }
    QDialog::showEvent(event);
}

void CRenderOptionsDialog::fillControls() {
    thresholdEdit_->setText(formatDialogReal(threshold));
    priorityEdit_->setText(formatDialogReal(priorityFactor));
    useDotsBox_->setChecked(useDots == 1);
    noEntitiesBox_->setChecked(noEntities == 1);
    strictHalfSpacesBox_->setChecked(strictHalfSpaces == 1);
    underscoreRunsBox_->setChecked(underscoreRuns == 1);
    scanUnitEdit_->setText(QString::number(scanUnit));
    fineBox_->setChecked(fine == 1);
    boardBox_->setCurrentIndex(boardProfile);
}

void CRenderOptionsDialog::refuse(QLineEdit& field, const char* message) {
    interaction_.showMessage(this, QString::fromUtf8(message));
    field.setFocus(Qt::OtherFocusReason);
    field.selectAll();
}

void CRenderOptionsDialog::accept() {
    // Nothing is stored unless every field reads back, so a refusal leaves the members as they
    // were.
    const std::optional<double> newThreshold = readDialogReal(thresholdEdit_->text());
    if (!newThreshold) {
        refuse(*thresholdEdit_, text::kEnterNumber);
        return;
    }
    const std::optional<double> newPriority = readDialogReal(priorityEdit_->text());
    if (!newPriority) {
        refuse(*priorityEdit_, text::kEnterNumber);
        return;
    }
    const std::optional<std::int32_t> newScanUnit = readDialogInteger(scanUnitEdit_->text());
    if (!newScanUnit) {
        refuse(*scanUnitEdit_, text::kEnterInteger);
        return;
    }
    threshold = toSettingFloat(*newThreshold);
    priorityFactor = toSettingFloat(*newPriority);
    useDots = useDotsBox_->isChecked() ? 1 : 0;
    noEntities = noEntitiesBox_->isChecked() ? 1 : 0;
    strictHalfSpaces = strictHalfSpacesBox_->isChecked() ? 1 : 0;
    underscoreRuns = underscoreRunsBox_->isChecked() ? 1 : 0;
    scanUnit = *newScanUnit;
    fine = fineBox_->isChecked() ? 1 : 0;
    boardProfile = std::max(0, boardBox_->currentIndex());
    QDialog::accept();
}

}  // namespace penmoji
