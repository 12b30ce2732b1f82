#pragma once

#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QByteArray;
class QIODevice;
class QPaintDevice;

// The file formats a chart is saved in: PNG (the screen's pixels), SVG and PDF (vector drawing).
enum class ChartFormat { Png, Svg, Pdf };

// The format named by the ending of `fileName` (".png", ".svg" or ".pdf" in any case), or nothing.
std::optional<ChartFormat> ChartFormatOf(const QString& fileName);

// The ending of `format` with its dot, in lower case.
QString ChartFormatEnding(ChartFormat format);

// Paints the chart on a document's device, one unit per chart pixel; false when it could not.
using ChartPainting = std::function<bool(QPaintDevice& device)>;

// Writes an SVG or PDF document of one chart of `size` pixels (on a page of that size at 96
// pixels per inch) to `out`. False when `format` is PNG, the painting failed or `out` could not
// take the document.
bool WriteVectorChart(QIODevice& out, ChartFormat format, QSize size, const ChartPainting& paint);

// Replaces the file `path` (a local file name in bytes) with `document` in one step: a temporary
// file beside it, renamed over it once every write and the close succeeded, so that a failed
// write keeps the old file whole. A symbolic link keeps pointing at its file, which is replaced;
// another hard link keeps the old contents. Empty on success, else the system's reason
// ("No space left on device").
std::string ReplaceChartFile(const std::string& path, const QByteArray& document);
