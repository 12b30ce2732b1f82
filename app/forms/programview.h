#pragma once

#include "programtext.h"

#include <QAbstractScrollArea>

#include <cstdint>
#include <memory>

// The text of an NC program with line numbers and its words in colour, drawn a screen of lines at
// a time from the program's line index, so that a program of millions of lines opens and scrolls
// at once. Lines that are no UTF-8 show as CP932, as the settings texts do. A click on a line
// says which one.
class ProgramView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ProgramView(QWidget* parent = nullptr);

    void setProgram(std::shared_ptr<const ProgramText> program);
    const ProgramText* program() const { return mProgram.get(); }

    // Marks `line` (from 1; 0 for none) and scrolls it into the middle when it is not shown.
    void markLine(std::uint32_t line);
    std::uint32_t markedLine() const { return mMarked; }
    // The first line shown at the top.
    std::uint32_t firstShownLine() const;
    // The next line after the marked one that holds `text`, from the top again after the last;
    // marked and shown. False when no line holds it.
    bool find(const QString& text);

signals:
    void lineClicked(std::uint32_t line);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void updateScrollBar();
    int lineHeight() const;
    int visibleLines() const;
    int gutterWidth() const;
    void drawLine(QPainter& painter, std::uint32_t line, int y) const;

    std::shared_ptr<const ProgramText> mProgram;
    std::uint32_t mMarked = 0;
};
