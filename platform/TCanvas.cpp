#include "platform/TCanvas.h"

#include "platform/Metafile.h"
#include "platform/TextMeasure.h"

#include <cmath>

namespace platform {

TFont TCanvas::ResolvedFont() const {
    TFont font = m_state.font;
    if (font.height <= 0) font.height = font.size * PixelsPerInch() / 72.0;
    return font;
}

void TCanvas::SetTextBackground(bool opaque, TColor color) {
    m_state.textOpaque = opaque;
    m_state.textBackground = color;
}

void TCanvas::SaveState() {
    m_saved.push_back(m_state);
    onSave();
}

void TCanvas::RestoreState() {
    if (m_saved.empty()) return;
    m_state = m_saved.back();
    m_saved.pop_back();
    onRestore();
}

void TCanvas::replayIsolated(const Metafile& metafile) {
    SaveState();
    const size_t depth = m_saved.size();
    m_state = State();
    metafile.replay(*this);
    while (m_saved.size() > depth)
        RestoreState();
    RestoreState();
}

QSizeF TCanvas::TextExtentF(const QString& text) const {
    const TFont font = ResolvedFont();
    double width = 0;
    for (double advance : measureAdvances(font, font.height, text))
        width += advance;
    return QSizeF(width, measureMetrics(font, font.height).height);
}

QSize TCanvas::TextExtent(const QString& text) const {
    const QSizeF exact = TextExtentF(text);
    return QSize(int(std::lround(exact.width())), int(std::lround(exact.height())));
}

QVector<int> TCanvas::CharAdvances(const QString& text) const {
    const TFont font = ResolvedFont();
    const QVector<double> exact = measureAdvances(font, font.height, text);
    QVector<int> advances(exact.size());
    double x = 0;
    long placed = 0;
    for (qsizetype i = 0; i < exact.size(); ++i) {
        x += exact[i];
        const long next = std::lround(x);
        advances[i] = int(next - placed);
        placed = next;
    }
    return advances;
}

TTextMetrics TCanvas::GetTextMetrics() const {
    const TFont font = ResolvedFont();
    return measureMetrics(font, font.height);
}

} // namespace platform
