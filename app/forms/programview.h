#pragma once

#include "programfile.h"

#include <QAbstractScrollArea>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The text of an NC program with line numbers and its words in colour, drawn a screen of lines at
// a time from the program's line index, each line read from the file as it is drawn, so that a
// program of millions of lines opens and scrolls at once and only its index is held. Lines that are
// no UTF-8 show as CP932, as the settings texts do. A line shows its first kShownBytes bytes only,
// then how long it is, so that a line of any length draws as fast as a short one. A click on a line
// says which one.
class ProgramView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // The most bytes of a line that are shown and searched.
    static constexpr std::size_t kShownBytes = 4096;

    explicit ProgramView(QWidget* parent = nullptr);

    void setProgram(std::shared_ptr<const ProgramFile> program);
    const ProgramFile* program() const { return mProgram.get(); }

    // Marks `line` (from 1; 0 for none) and scrolls it into the middle when it is not shown.
    void markLine(std::uint32_t line);
    std::uint32_t markedLine() const { return mMarked; }
    // The first line shown at the top.
    std::uint32_t firstShownLine() const;
    enum class Direction { Forward, Backward };
    // The next line after the marked one whose shown bytes hold `text`, from the top again after
    // the last (backward: the one before, from the end again before the first); marked and
    // shown. False when no line holds it. The file is read in pieces for it.
    bool find(const QString& text, Direction direction = Direction::Forward);
    // The bytes of `line` that are shown: all of a short line, the first kShownBytes of a longer
    // one without a character cut in two.
    std::string shownBytes(std::uint32_t line) const;
    // What follows the shown bytes of a longer line: its length; empty for a short line.
    QString cutNote(std::uint32_t line) const;

    // How many whole lines the view shows, and the height `lines` lines take.
    int visibleLines() const;
    int heightOfLines(int lines) const;

signals:
    void lineClicked(std::uint32_t line);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void updateScrollBar();
    int lineHeight() const;
    int gutterWidth() const;
    void drawLine(QPainter& painter, std::uint32_t line, int y) const;
    // The first (forward) or last (backward) line from `from` to `to` whose shown bytes hold
    // `needle`, or 0.
    std::uint32_t findBetween(std::uint32_t from, std::uint32_t to, std::string_view needle,
                              Direction direction) const;

    std::shared_ptr<const ProgramFile> mProgram;
    std::uint32_t mMarked = 0;
};
