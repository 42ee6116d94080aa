#include "ageplots.h"

#include "agefigure.h"
#include "agetables.h"
#include "misfitsummary.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {

// Every system keeps its colour in all four pictures; an unknown one is grey.
QColor systemColour(const QString& system)
{
    static const std::map<QString, QColor> colours {
        { QStringLiteral("AHe"), QColor(Qt::red) },
        { QStringLiteral("AFT"), QColor(Qt::darkGreen) },
        { QStringLiteral("ZHe"), QColor(Qt::blue) },
        { QStringLiteral("ZFT"), QColor(Qt::darkMagenta) },
        { QStringLiteral("BAr"), QColor(Qt::darkYellow) },
        { QStringLiteral("MAr"), QColor(Qt::darkCyan) },
        { QStringLiteral("HAr"), QColor(Qt::darkRed) },
    };
    const auto found = colours.find(system);
    return found != colours.end() ? found->second : QColor(Qt::gray);
}

const QString dodsonMethod = QStringLiteral("dodson");
const QString diffusionMethod = QStringLiteral("diffusion");

// Dodson's closure temperature dashed, the kinetic models solid.
Qt::PenStyle methodLine(const QString& method)
{
    return method == dodsonMethod ? Qt::DashLine : Qt::SolidLine;
}

MarkerShape methodMarker(const QString& method)
{
    if (method == dodsonMethod)
        return MarkerShape::Circle;
    if (method == diffusionMethod)
        return MarkerShape::Square;
    return MarkerShape::Triangle;
}

constexpr int predictionLineWidth = 2;
constexpr int measuredMarkerSize = 9;
constexpr int closureMarkerSize = 11;
constexpr int misfitMarkerSize = 5;
constexpr int bandAlpha = 45; // of 255: bands of one system that overlap darken each other

QString rateText(double rate)
{
    return QString::number(rate, 'f', 3);
}

// Items in the order of their first appearance, gathered under a key.
template <typename Key, typename Item> class Groups {
public:
    std::vector<Item>& operator[](const Key& key)
    {
        const auto found = std::ranges::find(m_keys, key);
        if (found != m_keys.end())
            return m_items[static_cast<std::size_t>(found - m_keys.begin())];
        m_keys.push_back(key);
        return m_items.emplace_back();
    }
    std::size_t size() const { return m_keys.size(); }
    const Key& key(std::size_t i) const { return m_keys[i]; }
    const std::vector<Item>& items(std::size_t i) const { return m_items[i]; }

private:
    std::vector<Key> m_keys;
    std::vector<std::vector<Item>> m_items;
};

using SystemAndMethod = std::pair<QString, QString>;

QString groupText(const SystemAndMethod& key)
{
    return key.first + u' ' + key.second;
}

// The ages of one run out of a table that may hold a sweep: those at the first rate in the file
// (all of them when the file carries no rates).
std::vector<PredictedAge> firstRun(const std::vector<PredictedAge>& ages)
{
    std::vector<PredictedAge> run;
    const std::optional<double> rate = ages.empty() ? std::nullopt : ages.front().rate;
    std::ranges::copy_if(ages, std::back_inserter(run),
        [&rate](const PredictedAge& age) { return age.rate == rate; });
    return run;
}

// Measured ages of each system as bands of age +- sigma in the system's colour.
void addMeasuredBands(AgeFigure& figure, const std::vector<ObservedAge>& observed)
{
    Groups<QString, HorizontalBand> bySystem;
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

// The best rate as a solid vertical line and its range as two dotted ones.
void addBestRate(AgeFigure& figure, const MisfitSummary& fit)
{
    figure.addCurve({},
        CurveStyle { .colour = Qt::black,
            .lineStyle = Qt::NoPen,
            .verticalLines = { fit.bestRate },
            .verticalLineStyle = Qt::SolidLine },
        QStringLiteral("best rate %1 mm/yr").arg(rateText(fit.bestRate)));
    QString range
        = QStringLiteral("range %1 to %2").arg(rateText(fit.rangeLow), rateText(fit.rangeHigh));
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

} // namespace

ViewerStyle ageKindStyle(const QString& kind)
{
    ViewerStyle style {
        .titlePrefix = {},
        .titleSuffix = {},
        .xCaption = QStringLiteral("Erosion rate (mm/yr)"),
        .yCaption = QStringLiteral("Age (Ma)"),
        .legend = LegendAnchor { .fromRight = 135, .top = 45, .sizedToRows = true },
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
    } else if (kind == u"elevation") {
        style.titlePrefix = QStringLiteral("AGE-ELEVATION PROFILE: 2D PERIODIC, EROSION RATE = ");
        style.titleSuffix = QStringLiteral(" mm/yr");
        style.xCaption = QStringLiteral("Age (Ma)");
        style.yCaption = QStringLiteral("Elevation (m)");
    } else if (kind == u"path") {
        style.titlePrefix = QStringLiteral("COOLING PATH AND CLOSURE OF EACH SYSTEM");
        style.xCaption = QStringLiteral("Time before present (Ma)");
        style.yCaption = QStringLiteral("Temperature (Celcius)");
    }
    return style;
}

FirstView rateFigure(const QString& agesPath, const std::optional<QString>& observedPath,
    const std::optional<QString>& fitPath)
{
    // One point per rate and curve: a periodic sweep holds a whole profile at each rate, of
    // which its first point stands for the rate. An age that is only a minimum (the path
    // never reached closure) is left out, so a curve starts where the system is reset.
    Groups<SystemAndMethod, std::pair<double, double>> curves;
    for (const PredictedAge& age : readPredictedAges(agesPath)) {
        if (!age.rate || !age.reset) // a minimum age is no point of the curve
            continue;
        auto& points = curves[{ age.system, age.method }];
        if (std::ranges::none_of(points, [&age](const auto& p) { return p.first == *age.rate; }))
            points.emplace_back(*age.rate, age.age);
    }
    if (curves.size() == 0)
        throw ViewerStartError(
            QStringLiteral("'%1' holds no reset ages at an erosion rate (rate_mm_yr)")
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
            groupText(curves.key(i)));
    }
    if (observedPath)
        addMeasuredBands(figure, readObservedAges(*observedPath));
    QString title;
    if (fitPath) {
        const MisfitSummary fit = summariseMisfit(readSweep(*fitPath));
        addBestRate(figure, fit);
        title = QStringLiteral(", BEST RATE = %1 mm/yr").arg(rateText(fit.bestRate));
    }
    return figure.firstView(title);
}

FirstView misfitFigure(const QString& fitPath)
{
    const std::vector<MisfitPoint> curve = readSweep(fitPath);
    const MisfitSummary fit = summariseMisfit(curve);

    AgeFigure figure(ageKindStyle(QStringLiteral("misfit")));
    std::vector<double> chi2;
    for (const MisfitPoint& point : curve)
        chi2.insert(chi2.end(), { point.rate, point.chi2 });
    figure.addCurve(std::move(chi2),
        CurveStyle { .colour = Qt::black,
            .lineWidth = predictionLineWidth,
            .marker = MarkerShape::Circle,
            .markerSize = misfitMarkerSize,
            .markerFill = Qt::black },
        QStringLiteral("chi2"));
    figure.addCurve({ curve.front().rate, fit.level(), curve.back().rate, fit.level() },
        CurveStyle { .colour = Qt::red, .lineStyle = Qt::DashLine, .lineWidth = 1 },
        fit.levelCaption());
    addBestRate(figure, fit);
    return figure.firstView(rateText(fit.bestRate));
}

FirstView elevationFigure(const QString& agesPath, const std::optional<QString>& observedPath)
{
    const std::vector<PredictedAge> run = firstRun(readPredictedAges(agesPath));
    Groups<SystemAndMethod, PredictedAge> curves;
    for (const PredictedAge& age : run)
        if (age.elevation && age.reset) // a minimum age is no point of the profile
            curves[{ age.system, age.method }].push_back(age);
    if (curves.size() == 0)
        throw ViewerStartError(
            QStringLiteral("'%1' holds no reset ages with an elevation: the elevation plot needs "
                           "the ages of a periodic run")
                .arg(agesPath));

    AgeFigure figure(ageKindStyle(QStringLiteral("elevation")));
    for (std::size_t i = 0; i < curves.size(); ++i) {
        // Age on x and elevation on y, along the half-profile from the ridge to the valley:
        // elevation is monotonic there, and the other half of a symmetric profile would only
        // retrace the same curve.
        const std::vector<PredictedAge>& profile = curves.items(i);
        const auto elevation = [](const PredictedAge& age) { return *age.elevation; };
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
    if (observedPath) {
        Groups<QString, ObservedAge> bySystem;
        for (const ObservedAge& sample : readObservedAges(*observedPath))
            if (sample.elevation)
                bySystem[sample.system].push_back(sample);
        for (std::size_t i = 0; i < bySystem.size(); ++i) {
            const QColor colour = systemColour(bySystem.key(i));
            CurveStyle style { .colour = colour,
                .lineStyle = Qt::NoPen,
                .marker = MarkerShape::Circle,
                .markerSize = measuredMarkerSize,
                .markerFill = colour.lighter(160) };
            std::vector<double> xy;
            for (const ObservedAge& sample : bySystem.items(i)) {
                xy.insert(xy.end(), { sample.age, *sample.elevation });
                style.xErrors.push_back(sample.sigma);
            }
            figure.addCurve(std::move(xy), std::move(style),
                QStringLiteral("%1 measured").arg(bySystem.key(i)));
        }
    }
    const std::optional<double> rate = run.front().rate;
    return figure.firstView(rate ? QString::number(*rate, 'g', 6) : QString());
}

FirstView pathFigure(const QString& pathPath, const QString& agesPath)
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
        if (!age.reset || !age.closureTemperature)
            continue;
        const QColor colour = systemColour(age.system);
        figure.addCurve({ age.age, *age.closureTemperature },
            CurveStyle { .colour = Qt::black,
                .lineStyle = Qt::NoPen,
                .marker = methodMarker(age.method),
                .markerSize = closureMarkerSize,
                .markerFill = colour },
            QStringLiteral("%1 %2: %3 Ma at %4 C")
                .arg(age.system, age.method, QString::number(age.age, 'f', 2),
                    QString::number(*age.closureTemperature, 'f', 0)));
    }
    return figure.firstView({});
}
