#pragma once

#include "curvexids.h"

#include <QDialog>

#include <array>
#include <optional>

class ColorSwatch;
class CurvexProxy;
class QLabel;
class QLineEdit;
class QPushButton;

// The drawing-colour dialog: sixteen swatches with the graph's curve colours, changed one at a
// time with the colour chooser and handed back to the graph all together on OK.
class FrmColorDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kColorCount = curvex::kCurveColours;

    explicit FrmColorDlg(CurvexProxy& viewer, QWidget* parent = nullptr);

    ColorSwatch* pctColor(int index) const { return mPctColor.at(index); }
    QLabel* lab(int index) const { return mLab.at(index); }
    QLineEdit* colorIndex() const { return mColorIndex; }
    QPushButton* command1() const { return mCommand1; }
    QPushButton* command2() const { return mCommand2; }
    QPushButton* command3() const { return mCommand3; }

protected:
    bool event(QEvent* event) override;

private:
    void createControls();
    void Form_Load();
    void Form_Activate();
    void ColorIndex_Change();
    void pctColor_GotFocus(int index);
    void pctColor_DblClick(int index);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    // The colour number the text of ColorIndex selects, if any.
    std::optional<int> selectedColor() const;
    void highlightLabel(QLabel* label, bool highlighted);

    CurvexProxy& mViewer;
    std::array<ColorSwatch*, kColorCount> mPctColor{};
    std::array<QLabel*, kColorCount> mLab{};
    QLineEdit* mColorIndex = nullptr;
    QPushButton* mCommand1 = nullptr;
    QPushButton* mCommand2 = nullptr;
    QPushButton* mCommand3 = nullptr;
};
