#include "frmcolordlg.h"

#include "appstate.h"
#include "colorswatch.h"
#include "curvexproxy.h"
#include "numerictext.h"
#include "userprompts.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr QRgb kHighlightBack = qRgb(0x00, 0x00, 0x80); // navy, 0x800000 as a colour reference
constexpr QRgb kHighlightText = qRgb(0xFF, 0xFF, 0xFF);

} // namespace

FrmColorDlg::FrmColorDlg(CurvexProxy& viewer, QWidget* parent) : QDialog(parent), mViewer(viewer) {
    createControls();
    Form_Load();
}

void FrmColorDlg::createControls() {
    setWindowTitle(QStringLiteral("Establishment of Drawing Color"));

    auto* swatches = new QGridLayout;
    for (int n = 0; n < kColorCount; ++n) {
        mLab[n] = new QLabel(QString::number(n + 1), this);
        mLab[n]->setAlignment(Qt::AlignCenter);
        mLab[n]->setAutoFillBackground(true);
        mPctColor[n] = new ColorSwatch(this);
        swatches->addWidget(mLab[n], 0, n);
        swatches->addWidget(mPctColor[n], 1, n);
        connect(mPctColor[n], &ColorSwatch::gotFocus, this, [this, n] { pctColor_GotFocus(n); });
        connect(mPctColor[n], &ColorSwatch::doubleClicked, this,
                [this, n] { pctColor_DblClick(n); });
    }

    mColorIndex = new QLineEdit(this);
    mColorIndex->setMaximumWidth(mColorIndex->fontMetrics().horizontalAdvance(u'0') * 6);
    connect(mColorIndex, &QLineEdit::textChanged, this, &FrmColorDlg::ColorIndex_Change);
    mCommand1 = new QPushButton(this);
    mCommand2 = new QPushButton(this);
    mCommand3 = new QPushButton(this);
    mCommand2->setDefault(true);
    connect(mCommand1, &QPushButton::clicked, this, &FrmColorDlg::Command1_Click);
    connect(mCommand2, &QPushButton::clicked, this, &FrmColorDlg::Command2_Click);
    connect(mCommand3, &QPushButton::clicked, this, &FrmColorDlg::Command3_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mColorIndex);
    buttons->addWidget(mCommand1);
    buttons->addStretch();
    buttons->addWidget(mCommand2);
    buttons->addWidget(mCommand3);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(swatches);
    layout->addLayout(buttons);
}

void FrmColorDlg::Form_Load() {
    for (int n = 0; n < kColorCount; ++n) {
        mPctColor[n]->setColorRef(static_cast<std::uint32_t>(mViewer.getGraphColor(n)));
    }
    mCommand1->setText(gText(QStringLiteral("dlgBtn1")));
    mCommand2->setText(gText(QStringLiteral("dlgBtn2")));
    mCommand3->setText(gText(QStringLiteral("dlgBtn3")));
    mColorIndex->setText(QStringLiteral("0"));
}

bool FrmColorDlg::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        Form_Activate();
    }
    return QDialog::event(event);
}

void FrmColorDlg::Form_Activate() {
    mViewer.lostCapture();
}

void FrmColorDlg::ColorIndex_Change() {
    for (QLabel* label : mLab) {
        highlightLabel(label, false);
    }
    if (const auto k = selectedColor()) {
        highlightLabel(mLab[*k], true);
    }
}

void FrmColorDlg::pctColor_GotFocus(int index) {
    mColorIndex->setText(QString::number(index));
}

void FrmColorDlg::pctColor_DblClick(int index) {
    mColorIndex->setText(QString::number(index));
    Command1_Click();
}

void FrmColorDlg::Command1_Click() {
    const auto k = selectedColor();
    if (!k) {
        return;
    }
    if (const auto chosen = prompts().chooseColor(mPctColor[*k]->colorRef())) {
        mPctColor[*k]->setColorRef(*chosen);
    }
}

void FrmColorDlg::Command2_Click() {
    for (int n = 0; n < kColorCount; ++n) {
        mViewer.setGraphColor(static_cast<std::int32_t>(mPctColor[n]->colorRef()), n);
    }
    mViewer.setViewRenewal(true);
    mViewer.refresh();
    accept();
}

void FrmColorDlg::Command3_Click() {
    reject();
}

std::optional<int> FrmColorDlg::selectedColor() const {
    const auto value = numericValue(mColorIndex->text());
    if (!value) {
        return std::nullopt;
    }
    const auto k = roundToInt32(*value);
    if (!k || *k < 0 || *k >= kColorCount) {
        return std::nullopt;
    }
    return *k;
}

void FrmColorDlg::highlightLabel(QLabel* label, bool highlighted) {
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window,
                     highlighted ? QColor(kHighlightBack) : palette().color(QPalette::Window));
    colours.setColor(QPalette::WindowText,
                     highlighted ? QColor(kHighlightText) : QColor(Qt::black));
    label->setPalette(colours);
}
