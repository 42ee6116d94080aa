#include "ageplots.h"

#include "agefigure.h"
#include "agesatrate.h"
#include "agetables.h"
#include "grainlabels.h"
#include "markerspread.h"
#include "misfitsummary.h"
#include "orderedgroups.h"
#include "sweepgrains.h"
#include "systemmarks.h"
#include "textformat.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <utility>

namespace {

constexpr int predictionLineWidth = 2;
constexpr int measuredMarkerSize = 8;
constexpr int closureMarkerSize = 11;
constexpr int misfitMarkerSize = 5;
constexpr int bandAlpha = 45; // of 255: bands of one system that overlap darken each other

// Markers at the best rate: spread over columns this many pixels apart, more than a marker is
// wide.
constexpr int jitterColumnPixels = 11;
// The misfit plot opens on the range and this many times its width either side, but at least
// this many sweep steps either side; markers are drawn on the curve while no more than this many
// points lie in the window (denser, they would merge into a thick line).
constexpr double misfitMarginRanges = 1.0;
constexpr double misfitMarginSteps = 3.0;
constexpr std::size_t misfitMarkedPoints = 60;
// The chi2 axis leaves this share of its span free above the curve, for the legend.
constexpr double chi2Headroom = 0.3;

QString rateText(double rate, int decimals = 3)
{
    return QString::number(rate, 'f', decimals);
}

// Decimals enough that the ends of the range differ: at least two significant digits of their
// difference, and never fewer than three.
int rangeDecimals(const MisfitSummary& fit)
{
    constexpr int fewest = 3;
    const double width = fit.rangeHigh - fit.rangeLow;
    if (!(width > 0.0))
        return fewest;
    return std::max(fewest, 1 - static_cast<int>(std::floor(std::log10(width))));
}

using SystemAndMethod = std::pair<QString, QString>;

QString groupText(const SystemAndMethod& key)
{
    return key.first + u' ' + key.second;
}

// The systems that have measured ages, or nothing when there are no measured ages to go by.
std::optional<std::set<QString>> measuredSystems(
    const std::optional<std::vector<ObservedAge>>& observed)
{
    if (!observed)
        return std::nullopt;
    std::set<QString> systems;
    for (const ObservedAge& sample : *observed)
        systems.insert(sample.system);
    return systems;
}

bool drawn(const std::optional<std::set<QString>>& systems, const QString& system)
{
    return !systems || systems->contains(system);
}

// Measured ages of each system as bands of age +- sigma in the system's colour.
void addMeasuredBands(AgeFigure& figure, const std::vector<ObservedAge>& observed)
{
    OrderedGroups<QString, HorizontalBand> bySystem;
    for (const ObservedAge& sample : observed)
        bySystem[sample.system].push_back({ sample.age - sample.sigma, sample.age + sample.sigma });
    for (std::size_t i = 0; i < bySystem.size(); ++i) {
        const QColor colour = systemColour(bySystem.key(i));
        QColor fill = colour;
        fill.setAlpha(bandAlpha);
        const std::size_t count = bySystem.items(i).size();
        figure.addCurve({},
            CurveStyle { .colour = colour,
                .lineStyle = Qt::NoPen,
                .bands = bySystem.items(i),
                .bandFill = fill },
            QStringLiteral("%1 measured (%2)").arg(bySystem.key(i)).arg(count));
    }
}

// Measured ages as markers with error bars of one sigma at the best rate, spread over a few
// columns (all systems together, so that close ages of two systems stand apart too).
std::vector<int> measuredOffsets(const std::vector<ObservedAge>& observed)
{
    std::vector<double> ages;
    for (const ObservedAge& sample : observed)
        ages.push_back(sample.age);
    return jitterOffsets(ages, jitterColumnPixels);
}

void addMeasuredMarkers(AgeFigure& figure, const std::vector<ObservedAge>& observed, double rate,
    const std::vector<int>& offsets)
{
    OrderedGroups<QString, std::size_t> bySystem;
    for (std::size_t i = 0; i < observed.size(); ++i)
        bySystem[observed[i].system].push_back(i);
    for (std::size_t g = 0; g < bySystem.size(); ++g) {
        const QString& system = bySystem.key(g);
        CurveStyle style { .colour = systemColour(system),
            .lineStyle = Qt::NoPen,
            .marker = systemMarker(system),
            .markerSize = measuredMarkerSize,
            .markerFill = measuredFill(system) };
        std::vector<double> xy;
        for (const std::size_t i : bySystem.items(g)) {
            xy.insert(xy.end(), { rate, observed[i].age });
            style.yErrors.push_back(observed[i].sigma);
            style.xPixelOffsets.push_back(offsets[i]);
        }
        figure.addCurve(std::move(xy), std::move(style),
            QStringLiteral("%1 measured (%2)").arg(system).arg(bySystem.items(g).size()));
    }
}

// Where a residual's prediction is drawn (x, y), and whether its grain's points are joined.
struct GrainPlacement {
    std::function<std::optional<std::pair<double, double>>(const Residual&)> point;
    bool joined = false; // a line through the grain's points in the order of y
    bool marked = true; // a marker at each point (a dense profile is a line alone)
    QString legendSuffix = {}; // after the grain's text; empty: "predicted (N)"
};

// The prediction of every measured sample, a legend row per distinct grain of each system (up to
// maxGrainRows, the rest together), in shades of the system's colour and the method's marker.
// offsets: the measured markers' x offsets, so that each prediction stands in the column of its
// measured age.
void addGrainPredictions(AgeFigure& figure, const std::vector<Residual>& residuals,
    const GrainPlacement& placement, const std::vector<int>& offsets = {})
{
    constexpr std::size_t maxGrainRows = maxGrainCurves;
    constexpr int shadeStep = 25; // QColor::darker factor added per grain of one system
    OrderedGroups<QString, GrainKey> grainsOfSystem;
    OrderedGroups<GrainKey, std::size_t> byGrain;
    for (std::size_t i = 0; i < residuals.size(); ++i) {
        const GrainKey grain = grainOf(residuals[i]);
        if (!residuals[i].predictedAge || !placement.point(residuals[i]))
            continue;
        if (!byGrain.contains(grain))
            grainsOfSystem[grain.system].push_back(grain);
        byGrain[grain].push_back(i);
    }
    for (std::size_t s = 0; s < grainsOfSystem.size(); ++s) {
        const std::vector<GrainKey>& grains = grainsOfSystem.items(s);
        const std::size_t rows = std::min(grains.size(), maxGrainRows);
        for (std::size_t row = 0; row < rows; ++row) {
            // The last row gathers the grains beyond the limit.
            const bool rest = row + 1 == maxGrainRows && grains.size() > maxGrainRows;
            std::vector<double> xy;
            CurveStyle style { .colour
                = systemColour(grains[row].system).darker(100 + shadeStep * static_cast<int>(row)),
                .lineStyle = placement.joined && !rest ? methodLine(grains[row].method) : Qt::NoPen,
                .marker = placement.marked || rest ? methodMarker(grains[row].method)
                                                   : MarkerShape::None,
                .markerSize = measuredMarkerSize };
            if (!placement.marked)
                style.lineWidth = predictionLineWidth;
            style.markerFill = style.colour;
            std::vector<std::pair<double, double>> points;
            for (std::size_t g = row; g < (rest ? grains.size() : row + 1); ++g)
                for (const std::size_t i : byGrain[grains[g]]) {
                    points.push_back(*placement.point(residuals[i]));
                    if (!offsets.empty())
                        style.xPixelOffsets.push_back(i < offsets.size() ? offsets[i] : 0);
                }
            if (placement.joined)
                std::ranges::sort(points, {}, &std::pair<double, double>::second);
            for (const auto& [x, y] : points)
                xy.insert(xy.end(), { x, y });
            const std::size_t count = xy.size() / 2;
            const QString text = rest ? QStringLiteral("%1 %2 other grains")
                                            .arg(grainsOfSystem.key(s))
                                            .arg(grains.size() - row)
                                      : grainText(grains[row]);
            figure.addCurve(std::move(xy), std::move(style),
                placement.legendSuffix.isEmpty() || rest
                    ? QStringLiteral("%1 predicted (%2)").arg(text).arg(count)
                    : text + placement.legendSuffix);
        }
    }
}

// The best rate as a solid vertical line and its range as two dotted ones.
void addBestRate(AgeFigure& figure, const MisfitSummary& fit)
{
    const int decimals = rangeDecimals(fit);
    figure.addCurve({},
        CurveStyle { .colour = Qt::black,
            .lineStyle = Qt::NoPen,
            .verticalLines = { fit.bestRate },
            .verticalLineStyle = Qt::SolidLine },
        QStringLiteral("best rate %1 mm/yr").arg(rateText(fit.bestRate, decimals)));
    QString range = QStringLiteral("range %1 to %2")
                        .arg(rateText(fit.rangeLow, decimals), rateText(fit.rangeHigh, decimals));
    if (fit.lowAtSweepStart || fit.highAtSweepEnd)
        range += QStringLiteral(" (sweep end)");
    figure.addCurve({},
        CurveStyle { .colour = Qt::darkGray,
            .lineStyle = Qt::NoPen,
            .verticalLines = { fit.rangeLow, fit.rangeHigh },
            .verticalLineStyle = Qt::DotLine },
        range);
}

std::vector<MisfitPoint> readSweep(const QString& fitPath)
{
    std::vector<MisfitPoint> curve = readMisfitCurve(fitPath);
    if (curve.empty())
        throw ViewerStartError(QStringLiteral("'%1' holds no rates").arg(fitPath));
    return curve;
}

std::optional<MisfitSummary> fitOf(const std::optional<QString>& fitPath)
{
    if (!fitPath)
        return std::nullopt;
    return summariseMisfit(readSweep(*fitPath));
}

// The measured ages of each system as markers with horizontal error bars (age on x).
void addMeasuredAgesAtElevation(AgeFigure& figure, const std::vector<ObservedAge>& observed)
{
    OrderedGroups<QString, ObservedAge> bySystem;
    for (const ObservedAge& sample : observed)
        if (sample.elevation)
            bySystem[sample.system].push_back(sample);
    for (std::size_t i = 0; i < bySystem.size(); ++i) {
        const QString& system = bySystem.key(i);
        CurveStyle style { .colour = systemColour(system),
            .lineStyle = Qt::NoPen,
            .marker = systemMarker(system),
            .markerSize = measuredMarkerSize,
            .markerFill = measuredFill(system) };
        std::vector<double> xy;
        for (const ObservedAge& sample : bySystem.items(i)) {
            xy.insert(xy.end(), { sample.age, *sample.elevation });
            style.xErrors.push_back(sample.sigma);
        }
        figure.addCurve(std::move(xy), std::move(style),
            QStringLiteral("%1 measured (%2)").arg(system).arg(bySystem.items(i).size()));
    }
}

// The ages of a history's profile along elevation as residual records of their grains, so that
// they are grouped and named as the samples' own predictions are (the reset ones: a minimum age
// is no point of a curve).
std::vector<Residual> profileAsGrains(const std::vector<PredictedAge>& run,
    const std::optional<std::set<QString>>& systems)
{
    std::vector<Residual> grains;
    for (const PredictedAge& age : run)
        if (age.elevation && age.reset && drawn(systems, age.system))
            grains.push_back({ .sample = {},
                .system = age.system,
                .method = age.method,
                .elevation = age.elevation,
                .predictedAge = age.age,
                .radius = age.radius,
                .uranium = age.uranium,
                .thorium = age.thorium,
                .samarium = age.samarium,
                .dpar = age.dpar });
    return grains;
}

FirstView historyElevationFigure(const std::vector<PredictedAge>& run,
    const std::optional<std::vector<ObservedAge>>& observed,
    const std::optional<std::set<QString>>& systems, const std::optional<QString>& residualsPath)
{
    const std::vector<Residual> profile = profileAsGrains(run, systems);
    if (profile.empty())
        throw ViewerStartError(QStringLiteral("the history's profile holds no reset ages with an "
                                              "elevation%1")
                                   .arg(systems ? QStringLiteral(" of the measured systems")
                                                : QString()));
    ViewerStyle style = ageKindStyle(QStringLiteral("elevation"));
    style.titlePrefix = QStringLiteral("AGE-ELEVATION PROFILE OF THE HISTORY (1D COLUMN)");
    style.titleSuffix.clear();
    AgeFigure figure(style);
    const auto atElevation = [](const Residual& r) {
        return r.elevation && r.predictedAge
            ? std::optional(std::pair { *r.predictedAge, *r.elevation })
            : std::nullopt;
    };
    addGrainPredictions(figure, profile,
        { .point = atElevation,
            .joined = true,
            .marked = false,
            .legendSuffix = QStringLiteral(" along elevation") });
    if (residualsPath) // each sample's own prediction, on its grain's curve
        addGrainPredictions(figure, readResiduals(*residualsPath), { .point = atElevation });
    if (observed)
        addMeasuredAgesAtElevation(figure, *observed);
    return figure.firstView({});
}

} // namespace

ViewerStyle ageKindStyle(const QString& kind)
{
    ViewerStyle style {
        .titlePrefix = {},
        .titleSuffix = {},
        .xCaption = QStringLiteral("Erosion rate (mm/yr)"),
        .yCaption = QStringLiteral("Age (Ma)"),
        .legend = LegendAnchor {
            .fromRight = 135, .top = 45, .sizedToRows = true, .clearOfData = true },
        .legendRows = {},
        .yGridEvery = 1,
        .curvePenWidths = {},
        .pngPath = QStringLiteral("../output/plots/image_ages_%1.png").arg(kind),
    };
    if (kind == u"rate") {
        style.titlePrefix = QStringLiteral("COOLING AGES AGAINST EROSION RATE");
    } else if (kind == u"misfit") {
        style.titlePrefix = QStringLiteral("MISFIT OF THE MEASURED AGES, BEST RATE = ");
        style.titleSuffix = QStringLiteral(" mm/yr");
        style.yCaption = QStringLiteral("Chi-square");
        style.logYKey = true;
    } else if (kind == u"elevation") {
        style.titlePrefix = QStringLiteral("AGE-ELEVATION PROFILE: 2D PERIODIC, EROSION RATE = ");
        style.titleSuffix = QStringLiteral(" mm/yr");
        style.xCaption = QStringLiteral("Age (Ma)");
        style.yCaption = QStringLiteral("Elevation (m)");
    } else if (kind == u"path") {
        style.titlePrefix = QStringLiteral("COOLING PATH AND CLOSURE OF EACH SYSTEM");
        style.xCaption = QStringLiteral("Time before present (Ma)");
        style.yCaption = QStringLiteral("Temperature (Celsius)");
    } else if (kind == u"residuals") {
        style.titlePrefix = QStringLiteral("RESIDUALS OF THE MEASURED AGES AT THE BEST FIT");
        style.xCaption = QStringLiteral("Elevation (m)");
        style.yCaption = QStringLiteral("(observed - predicted) / sigma");
    } else if (kind == u"history") {
        style.titlePrefix = QStringLiteral("EROSION HISTORY, BEST ");
        style.xCaption = QStringLiteral("Time before present (Ma)");
        style.yCaption = QStringLiteral("Erosion rate (mm/yr)");
    } else if (kind == u"map") {
        style.titlePrefix = QStringLiteral("PREDICTED AGE MAP OVER THE SHADED RELIEF: ");
        style.xCaption = QStringLiteral("Easting x (km)");
        style.yCaption = QStringLiteral("Northing y (km)");
    } else if (kind == u"misfit-map") {
        style.titlePrefix = QStringLiteral("MISFIT MAP OF THE HISTORY FIT, BEST AT ");
    } else if (kind == u"lengths") {
        style.titlePrefix = QStringLiteral("CONFINED TRACK LENGTHS, MEASURED AND AT THE BEST FIT");
        style.xCaption = QStringLiteral("Track length (um)");
        style.yCaption = QStringLiteral("Tracks per 1 um bin");
    } else if (kind == u"profile") {
        style.titlePrefix = QStringLiteral("MISFIT AGAINST THE TIME OF EACH CHANGE IN RATE");
        style.xCaption = QStringLiteral("Change time (Ma before present)");
        style.yCaption = QStringLiteral("Chi-square (profile)");
        style.logYKey = true;
    }
    return style;
}

FirstView rateFigure(const QString& agesPath, const std::optional<QString>& observedPath,
    const std::optional<QString>& fitPath, const std::optional<QString>& residualsPath,
    const std::optional<QString>& predictionsPath)
{
    const std::optional<std::vector<ObservedAge>> observed
        = observedPath ? std::optional(readObservedAges(*observedPath)) : std::nullopt;
    const std::optional<std::set<QString>> systems = measuredSystems(observed);
    // One point per rate and curve: a periodic sweep holds a whole profile at each rate, of
    // which its first point stands for the rate. An age that is only a minimum (the path
    // never reached closure) is left out, so a curve starts where the system is reset.
    OrderedGroups<SystemAndMethod, std::pair<double, double>> curves;
    for (const PredictedAge& age : readPredictedAges(agesPath)) {
        if (!age.rate || !age.reset || !drawn(systems, age.system))
            continue;
        auto& points = curves[{ age.system, age.method }];
        if (std::ranges::none_of(points, [&age](const auto& p) { return p.first == *age.rate; }))
            points.emplace_back(*age.rate, age.age);
    }
    if (curves.size() == 0)
        throw ViewerStartError(
            systems ? QStringLiteral("'%1' holds no reset ages at an erosion rate (rate_mm_yr) of "
                                     "the systems measured in '%2'")
                          .arg(agesPath, *observedPath)
                    : QStringLiteral("'%1' holds no reset ages at an erosion rate (rate_mm_yr)")
                          .arg(agesPath));

    AgeFigure figure(ageKindStyle(QStringLiteral("rate")));
    for (std::size_t i = 0; i < curves.size(); ++i) {
        std::vector<std::pair<double, double>> points = curves.items(i);
        std::ranges::sort(points);
        std::vector<double> xy;
        for (const auto& [rate, age] : points)
            xy.insert(xy.end(), { rate, age });
        figure.addCurve(std::move(xy),
            CurveStyle { .colour = systemColour(curves.key(i).first),
                .lineStyle = methodLine(curves.key(i).second),
                .lineWidth = predictionLineWidth },
            // With the samples' own predictions beside it, the table's curve is only what the
            // options' grain would give.
            residualsPath ? groupText(curves.key(i)) + QStringLiteral(", option grain")
                          : groupText(curves.key(i)));
    }
    const std::optional<MisfitSummary> fit = fitOf(fitPath);
    if (observed) {
        // Beside their predictions the measured ages are markers at the best rate, so that each
        // stands over or under the prediction of its own grain; spread in x only when many.
        const bool many = observed->size() > bandedSampleLimit;
        const std::vector<int> offsets
            = many ? measuredOffsets(*observed) : std::vector<int>(observed->size(), 0);
        if (fit && (many || residualsPath)) {
            addMeasuredMarkers(figure, *observed, fit->bestRate, offsets);
        } else {
            addMeasuredBands(figure, *observed);
        }
        if (fit && residualsPath) {
            const std::vector<Residual> residuals = readResiduals(*residualsPath);
            if (residuals.size() != observed->size())
                throw ViewerStartError(
                    QStringLiteral("'%1' holds %2 samples, '%3' %4: the residuals must be those "
                                   "of the measured ages")
                        .arg(*residualsPath)
                        .arg(residuals.size())
                        .arg(*observedPath)
                        .arg(observed->size()));
            // Each grain's own curve along the sweep, where a system has few enough grains; the
            // others' predictions stand at the best rate as points.
            const std::set<QString> curved = predictionsPath
                ? addSweepGrainCurves(figure, *predictionsPath, *fitPath, readSweep(*fitPath),
                      residuals)
                : std::set<QString> {};
            std::vector<Residual> pointed;
            std::vector<int> pointedOffsets;
            for (std::size_t i = 0; i < residuals.size(); ++i)
                if (!curved.contains(residuals[i].system)) {
                    pointed.push_back(residuals[i]);
                    pointedOffsets.push_back(offsets[i]);
                }
            const double best = fit->bestRate;
            addGrainPredictions(figure, pointed,
                { [best](const Residual& r) {
                     return std::optional(std::pair { best, *r.predictedAge });
                 } },
                pointedOffsets);
        }
    }
    QString title;
    if (fit) {
        addBestRate(figure, *fit);
        title = QStringLiteral(", BEST RATE = %1 mm/yr")
                    .arg(rateText(fit->bestRate, rangeDecimals(*fit)));
    }
    return figure.firstView(title);
}

FirstView misfitFigure(const QString& fitPath, bool logY)
{
    const std::vector<MisfitPoint> curve = readSweep(fitPath);
    const MisfitSummary fit = summariseMisfit(curve);

    // The window: the range, and as much again either side (at least a few sweep steps), within
    // the sweep. The steepness of chi2 either side of the range is what the picture must show.
    const double sweepStep = curve.size() > 1
        ? (curve.back().rate - curve.front().rate) / static_cast<double>(curve.size() - 1)
        : 0.0;
    const double margin = std::max(
        misfitMarginRanges * (fit.rangeHigh - fit.rangeLow), misfitMarginSteps * sweepStep);
    const double low = std::max(curve.front().rate, fit.rangeLow - margin);
    const double high = std::min(curve.back().rate, fit.rangeHigh + margin);
    const auto inWindow = std::ranges::count_if(
        curve, [&](const MisfitPoint& p) { return p.rate >= low && p.rate <= high; });

    AgeFigure figure(ageKindStyle(QStringLiteral("misfit")));
    std::vector<double> chi2;
    for (const MisfitPoint& point : curve)
        chi2.insert(chi2.end(), { point.rate, point.chi2 });
    const bool marked = static_cast<std::size_t>(inWindow) <= misfitMarkedPoints;
    figure.addCurve(std::move(chi2),
        CurveStyle { .colour = Qt::black,
            .lineWidth = predictionLineWidth,
            .marker = marked ? MarkerShape::Circle : MarkerShape::None,
            .markerSize = misfitMarkerSize,
            .markerFill = Qt::black },
        QStringLiteral("chi2"));
    figure.addCurve({},
        CurveStyle { .colour = Qt::red,
            .lineStyle = Qt::NoPen,
            .horizontalLines = { fit.level() },
            .horizontalLineStyle = Qt::DashLine },
        fit.levelCaption());
    addBestRate(figure, fit);
    if (low < high)
        figure.limitX(low, high);
    if (logY)
        figure.logY();
    figure.headroom(chi2Headroom);
    return figure.firstView(rateText(fit.bestRate, rangeDecimals(fit)));
}

FirstView elevationFigure(const QString& agesPath, const std::optional<QString>& observedPath,
    const std::optional<QString>& fitPath, const std::optional<QString>& residualsPath)
{
    const std::optional<std::vector<ObservedAge>> observed
        = observedPath ? std::optional(readObservedAges(*observedPath)) : std::nullopt;
    const std::optional<std::set<QString>> systems = measuredSystems(observed);
    const std::vector<PredictedAge> ages = readPredictedAges(agesPath);
    // A history's profile along elevation (history --elevation-output) is the best history's
    // already: a curve per distinct grain of each system, the third file the same fit's
    // residuals, whose samples' own predictions lie on them.
    if (!ages.empty()
        && std::ranges::none_of(ages, [](const PredictedAge& age) { return age.rate.has_value(); })) {
        if (residualsPath)
            throw ViewerStartError(QStringLiteral("'%1' is a history's profile along elevation: "
                                                  "give it OBSERVED_CSV and RESIDUALS_CSV, no "
                                                  "misfit curve")
                                       .arg(agesPath));
        return historyElevationFigure(ages, observed, systems, fitPath);
    }
    const std::optional<MisfitSummary> fit = fitOf(fitPath);
    const std::vector<PredictedAge> run = fit ? runAtRate(ages, fit->bestRate) : firstRun(ages);

    OrderedGroups<SystemAndMethod, PredictedAge> curves;
    for (const PredictedAge& age : run)
        if (age.elevation && age.reset && drawn(systems, age.system)) // a minimum age: no point
            curves[{ age.system, age.method }].push_back(age);
    if (curves.size() == 0)
        throw ViewerStartError(
            QStringLiteral("'%1' holds no reset ages with an elevation%2: the elevation plot needs "
                           "the ages of a periodic or terrain run")
                .arg(agesPath, systems ? QStringLiteral(" of the measured systems") : QString()));

    ViewerStyle style = ageKindStyle(QStringLiteral("elevation"));
    // The terrain model's table: samples where they were taken, not a profile.
    const bool samples
        = std::ranges::any_of(run, [](const PredictedAge& age) { return !age.sample.isEmpty(); });
    if (samples)
        style.titlePrefix = QStringLiteral("AGE-ELEVATION: SAMPLES UNDER THE DEM (3D TERRAIN), "
                                           "EROSION RATE TODAY = ");
    const std::optional<double> rate = run.front().rate;
    if (fit && rate == fit->bestRate)
        style.titleSuffix += QStringLiteral(" (BEST FIT)");
    AgeFigure figure(style);
    for (std::size_t i = 0; i < curves.size(); ++i) {
        // Age on x and elevation on y, along the half-profile from the ridge to the valley:
        // elevation is monotonic there, and the other half of a symmetric profile would only
        // retrace the same curve.
        const std::vector<PredictedAge>& profile = curves.items(i);
        const auto elevation = [](const PredictedAge& age) { return *age.elevation; };
        if (samples) {
            // Every sample a marker, joined from the lowest to the highest.
            std::vector<PredictedAge> sorted = profile;
            std::ranges::sort(sorted, {}, elevation);
            std::vector<double> xy;
            for (const PredictedAge& age : sorted)
                xy.insert(xy.end(), { age.age, *age.elevation });
            figure.addCurve(std::move(xy),
                CurveStyle { .colour = systemColour(curves.key(i).first),
                    .lineStyle = methodLine(curves.key(i).second),
                    .lineWidth = predictionLineWidth,
                    .marker = MarkerShape::Square,
                    .markerFill = systemColour(curves.key(i).first) },
                groupText(curves.key(i)));
            continue;
        }
        const auto lowest = std::ranges::min_element(profile, {}, elevation);
        const auto highest = std::ranges::max_element(profile, {}, elevation);
        const auto [first, last] = std::minmax(lowest, highest);
        std::vector<double> xy;
        for (auto age = first; age <= last; ++age)
            xy.insert(xy.end(), { age->age, *age->elevation });
        figure.addCurve(std::move(xy),
            CurveStyle { .colour = systemColour(curves.key(i).first),
                .lineStyle = methodLine(curves.key(i).second),
                .lineWidth = predictionLineWidth },
            groupText(curves.key(i)));
    }
    if (residualsPath) {
        // Each sample's own grain at the fit's best rate, joined up the profile: where the
        // samples' chemistry differs from the options', these are the curves they are fitted to.
        addGrainPredictions(figure, readResiduals(*residualsPath),
            { [](const Residual& r) {
                 return r.elevation ? std::optional(std::pair { *r.predictedAge, *r.elevation })
                                    : std::nullopt;
             },
                true });
    }
    if (observed)
        addMeasuredAgesAtElevation(figure, *observed);
    if (!rate)
        return figure.firstView({});
    return figure.firstView(
        fit ? rateText(*rate, rangeDecimals(*fit)) : QString::number(*rate, 'g', 6));
}

// The temperature of the path at timeMa, linear between its points; nothing outside it.
std::optional<double> temperatureAt(const std::vector<PathPoint>& path, const double timeMa)
{
    for (std::size_t i = 1; i < path.size(); ++i) {
        const PathPoint& a = path[i - 1];
        const PathPoint& b = path[i];
        if ((timeMa - a.time) * (timeMa - b.time) > 0)
            continue;
        if (a.time == b.time)
            return a.temperature;
        return a.temperature + (b.temperature - a.temperature) * (timeMa - a.time) / (b.time - a.time);
    }
    return std::nullopt;
}

FirstView pathFigure(const QString& pathPath, const QString& agesPath,
    const std::optional<QString>& residualsPath)
{
    const std::vector<PathPoint> path = readCoolingPath(pathPath);
    if (path.empty())
        throw ViewerStartError(QStringLiteral("'%1' holds no points").arg(pathPath));
    AgeFigure figure(ageKindStyle(QStringLiteral("path")));
    figure.reverseX();
    std::vector<double> xy;
    for (const PathPoint& point : path)
        xy.insert(xy.end(), { point.time, point.temperature });
    figure.addCurve(
        std::move(xy), CurveStyle { .colour = Qt::black }, QStringLiteral("cooling path"));

    // Each age where the path passed its closure temperature; an age that is only a minimum
    // (never reset) has no closure point on the path.
    for (const PredictedAge& age : firstRun(readPredictedAges(agesPath))) {
        if (!age.reset) { // in the legend only, hollow: the path never reached its closure
            figure.addCurve({},
                CurveStyle { .colour = Qt::black,
                    .lineStyle = Qt::NoPen,
                    .marker = methodMarker(age.method),
                    .markerSize = closureMarkerSize,
                    .markerFill = hollowFill },
                QStringLiteral("%1 %2: not reset, older than %3 Ma")
                    .arg(age.system, age.method, QString::number(age.age, 'g', 4)));
            continue;
        }
        if (!age.closureTemperature)
            continue;
        figure.addCurve({ age.age, *age.closureTemperature },
            CurveStyle { .colour = Qt::black,
                .lineStyle = Qt::NoPen,
                .marker = methodMarker(age.method),
                .markerSize = closureMarkerSize,
                .markerFill = systemColour(age.system) },
            QStringLiteral("%1 %2: %3 Ma at %4 C")
                .arg(age.system, age.method, QString::number(age.age, 'f', 2),
                    QString::number(*age.closureTemperature, 'f', 0)));
    }
    if (residualsPath) {
        // Each sample's own grain: its predicted age where the path stood then.
        addGrainPredictions(figure, readResiduals(*residualsPath),
            { [&path](const Residual& r) -> std::optional<std::pair<double, double>> {
                if (const auto temperature = temperatureAt(path, *r.predictedAge))
                    return std::pair { *r.predictedAge, *temperature };
                return std::nullopt;
            } });
    }
    return figure.firstView({});
}
