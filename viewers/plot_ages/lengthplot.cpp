#include "lengthplot.h"

#include "agefigure.h"
#include "ageplots.h"
#include "csvtable.h"
#include "systemmarks.h"

#include "thermochron/lengthstatistics.h"
#include "tracklengthfile.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <span>

namespace {

// The predicted distributions come in bins of this width from 0 um, this many of them (the
// fit's --lengths-output); the measured histogram in bins of 1 um over the same 20 um.
constexpr double predictedBinUm = 0.1;
constexpr std::size_t predictedBinCount = 200;
constexpr double histogramBinUm = 1.0;
constexpr std::size_t histogramBinCount = 20;
// Stacked panels: the tallest mark of each stands this far above its baseline, a panel being 1.
constexpr double panelFill = 0.9;
constexpr int predictedLineWidth = 2;
const QColor histogramFill(0, 0, 0, 50);

// One set of a sample's tracks and the distribution it is compared with.
struct LengthPanel {
    QString sample;
    bool projected = true;
    std::vector<double> lengthsUm;
    const std::vector<double>* bins = nullptr; // shares per 0.1 um bin
};

struct Moments {
    double mean = 0.0;
    double sd = 0.0;
};

// The measured lengths' mean and sample standard deviation (n - 1), as the fit reports them.
Moments measuredMoments(const std::vector<double>& lengths)
{
    const double n = static_cast<double>(lengths.size());
    const double mean = std::accumulate(lengths.begin(), lengths.end(), 0.0) / n;
    double squares = 0.0;
    for (const double l : lengths)
        squares += (l - mean) * (l - mean);
    return { mean, lengths.size() > 1 ? std::sqrt(squares / (n - 1.0)) : 0.0 };
}

// The binned distribution's mean and standard deviation, each bin's share at its middle.
Moments binnedMoments(const std::vector<double>& bins)
{
    double total = 0.0, first = 0.0, second = 0.0;
    for (std::size_t k = 0; k < bins.size(); ++k) {
        const double middle = (static_cast<double>(k) + 0.5) * predictedBinUm;
        total += bins[k];
        first += bins[k] * middle;
        second += bins[k] * middle * middle;
    }
    if (!(total > 0.0))
        return {};
    const double mean = first / total;
    return { mean, std::sqrt(std::max(0.0, second / total - mean * mean)) };
}

QString um(double value) { return QString::number(value, 'f', 2); }

} // namespace

double binnedCdf(const std::vector<double>& bins, const double lengthUm)
{
    const double position = lengthUm / predictedBinUm;
    double below = 0.0;
    for (std::size_t k = 0; k < bins.size(); ++k) {
        const double start = static_cast<double>(k);
        if (position <= start)
            break;
        below += bins[k] * std::min(1.0, position - start);
    }
    return std::clamp(below, 0.0, 1.0);
}

std::vector<PredictedLengthBins> readPredictedLengths(const QString& path)
{
    try {
        const CsvTable table = CsvTable::read(path);
        const int sample = table.column(QStringLiteral("sample"));
        const int length = table.column(QStringLiteral("length_um"));
        const int projected = table.column(QStringLiteral("pdf_projected"));
        const int unprojected = table.column(QStringLiteral("pdf_unprojected"));
        std::vector<PredictedLengthBins> samples;
        const auto need = [&table](int row, int column) {
            const std::optional<double> value = table.number(row, column);
            if (!value || *value < 0.0)
                throw CsvError(QStringLiteral("'%1' line %2: %3 must be a number of at least 0")
                                   .arg(table.name())
                                   .arg(table.lineOf(row))
                                   .arg(table.columnName(column)));
            return *value;
        };
        for (int row = 0; row < table.rowCount(); ++row) {
            const QString name = table.text(row, sample);
            if (samples.empty() || samples.back().sample != name
                || samples.back().projected.size() == predictedBinCount)
                samples.push_back({ name, {}, {} });
            PredictedLengthBins& bins = samples.back();
            const double expected
                = (static_cast<double>(bins.projected.size()) + 0.5) * predictedBinUm;
            if (std::fabs(need(row, length) - expected) > 1e-6)
                throw CsvError(QStringLiteral("'%1' line %2: length_um should be %3, the middle of "
                                              "the next 0.1 um bin of sample '%4'")
                                   .arg(table.name())
                                   .arg(table.lineOf(row))
                                   .arg(expected, 0, 'f', 2)
                                   .arg(name));
            bins.projected.push_back(need(row, projected));
            bins.unprojected.push_back(need(row, unprojected));
        }
        for (const PredictedLengthBins& bins : samples)
            if (bins.projected.size() != predictedBinCount)
                throw CsvError(QStringLiteral("'%1': sample '%2' has %3 bins, not the %4 of 0.1 um "
                                              "from 0 to 20 um")
                                   .arg(table.name(), bins.sample)
                                   .arg(bins.projected.size())
                                   .arg(predictedBinCount));
        return samples;
    } catch (const CsvError& error) {
        throw ViewerStartError(QString::fromStdString(error.what()));
    }
}

FirstView lengthFigure(const QString& lengthsPath, const QString& predictedPath)
{
    std::vector<ages::SampleLengths> measured;
    try {
        measured = ages::readTrackLengths(lengthsPath.toStdString(), std::nullopt);
    } catch (const ages::TrackLengthsError& error) {
        throw ViewerStartError(QString::fromStdString(error.what()));
    }
    const std::vector<PredictedLengthBins> predicted = readPredictedLengths(predictedPath);

    // A panel per set of tracks, the projected ones of a sample first, as the fit reports them.
    std::vector<LengthPanel> panels;
    for (const ages::SampleLengths& sample : measured) {
        const QString name = QString::fromStdString(sample.sample);
        const auto bins = std::ranges::find(predicted, name, &PredictedLengthBins::sample);
        if (bins == predicted.end())
            throw ViewerStartError(QStringLiteral("'%1' holds no distribution of sample '%2' of "
                                                  "'%3' (the fit left it no track, or the files "
                                                  "are of different fits)")
                                       .arg(predictedPath, name, lengthsPath));
        if (!sample.projectedUm.empty())
            panels.push_back({ name, true, sample.projectedUm, &bins->projected });
        if (!sample.unprojectedUm.empty())
            panels.push_back({ name, false, sample.unprojectedUm, &bins->unprojected });
    }
    if (panels.empty())
        throw ViewerStartError(QStringLiteral("'%1' holds no track lengths").arg(lengthsPath));

    const bool stacked = panels.size() > 1;
    ViewerStyle style = ageKindStyle(QStringLiteral("lengths"));
    if (stacked)
        style.yCaption = QStringLiteral("Panel (each scaled to its tallest bin)");
    AgeFigure figure(style);
    const QColor predictedColour = systemColour(QStringLiteral("AFT"));
    for (std::size_t p = 0; p < panels.size(); ++p) {
        const LengthPanel& panel = panels[p];
        const double n = static_cast<double>(panel.lengthsUm.size());
        std::vector<double> counts(histogramBinCount, 0.0);
        for (const double length : panel.lengthsUm) {
            const auto bin = static_cast<std::size_t>(std::floor(length / histogramBinUm));
            counts[std::min(bin, histogramBinCount - 1)] += 1.0;
        }
        // The density scaled to the count: n x share / (0.1 um) tracks per um, which over a 1 um
        // bin is the number of tracks the distribution puts in it.
        const std::vector<double>& bins = *panel.bins;
        std::vector<double> curve(bins.size());
        for (std::size_t k = 0; k < bins.size(); ++k)
            curve[k] = n * bins[k] * histogramBinUm / predictedBinUm;
        const double tallestBin = *std::ranges::max_element(counts);
        const double tallest = std::max(tallestBin, *std::ranges::max_element(curve));
        const double base = stacked ? static_cast<double>(p) : 0.0;
        const double scale = stacked && tallest > 0.0 ? panelFill / tallest : 1.0;

        // The histogram as a staircase from the baseline, shaded down to it.
        std::vector<double> steps { 0.0, base };
        for (std::size_t k = 0; k < histogramBinCount; ++k) {
            const double y = base + scale * counts[k];
            steps.insert(steps.end(), { k * histogramBinUm, y, (k + 1) * histogramBinUm, y });
        }
        steps.insert(steps.end(), { histogramBinCount * histogramBinUm, base });
        CurveStyle histogram { .colour = Qt::darkGray, .lineWidth = 1, .areaFill = histogramFill };
        histogram.areaLower.assign(steps.size() / 2, base);
        const Moments seen = measuredMoments(panel.lengthsUm);
        QString label = QStringLiteral("%1 (%2 %3): MTL %4 SD %5 um")
                            .arg(panel.sample)
                            .arg(panel.lengthsUm.size())
                            .arg(panel.projected ? QStringLiteral("c-axis projected")
                                                 : QStringLiteral("unprojected"))
                            .arg(um(seen.mean), um(seen.sd));
        if (stacked)
            label = QStringLiteral("y=%1: %2, tallest bin %3").arg(p).arg(label).arg(tallestBin);
        figure.addCurve(std::move(steps), std::move(histogram), label);

        std::vector<double> xy;
        for (std::size_t k = 0; k < curve.size(); ++k)
            xy.insert(xy.end(),
                { (static_cast<double>(k) + 0.5) * predictedBinUm, base + scale * curve[k] });
        const Moments model = binnedMoments(bins);
        const thermochron::FitStatistic ks = thermochron::kolmogorovSmirnov(
            std::span<const double>(panel.lengthsUm),
            [&bins](double length) { return binnedCdf(bins, length); });
        figure.addCurve(std::move(xy),
            CurveStyle { .colour = predictedColour, .lineWidth = predictedLineWidth },
            QStringLiteral("predicted: MTL %1 SD %2 um, K-S p %3")
                .arg(um(model.mean), um(model.sd), QString::number(ks.pValue, 'f', 2)));
    }
    figure.includeY(0.0);
    figure.headroom(0.3);
    return figure.firstView({});
}
