#include "curvexproppage.h"

#include "curvexaboutbox.h"
#include "curvexids.h"

#include <QHBoxLayout>
#include <QLabel>

namespace {

int livePages = 0;

} // namespace

CCurvexPropPage::CCurvexPropPage(QWidget* parent) : QWidget(parent) {
    ++livePages;
    setWindowTitle(QStringLiteral("General"));
    auto* icon = new QLabel;
    icon->setPixmap(CurvexAboutBox::controlIcon());
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon);
    layout->addWidget(new QLabel(QString::fromLatin1(curvex::kControlTypeName)));
    layout->addStretch();
}

CCurvexPropPage::~CCurvexPropPage() {
    --livePages;
}

int CCurvexPropPage::instanceCount() {
    return livePages;
}

component::InvokeResult CCurvexPropPage::invoke(int, component::InvokeKind, QVariantList&,
                                                QVariant*) {
    return component::InvokeResult::MemberNotFound;
}
