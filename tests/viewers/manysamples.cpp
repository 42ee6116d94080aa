#include "manysamples.h"

#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace {

using namespace manysamples;

constexpr double pathMyr = 150.0;
constexpr double meanElevation = (lowestElevation + highestElevation) / 2.0;
constexpr double firstRate = 0.02;
constexpr double rateStep = 0.0025;
constexpr int rateCount = 41;

struct System {
    const char* name;
    double closureDepthM;
};
const System ahe { "AHe", 1100.0 };
const System aft { "AFT", 2400.0 };
const System zhe { "ZHe", 4000.0 };

// A small portable generator (a 64-bit linear congruential one, Knuth's MMIX constants) and
// Gaussian numbers from it by the Box-Muller transform: the same numbers on every machine.
class Scatter {
public:
    double uniform()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return (static_cast<double>(m_state >> 11) + 0.5) / 9007199254740992.0;
    }
    double gaussian()
    {
        const double u = uniform();
        const double v = uniform();
        return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * v);
    }

private:
    std::uint64_t m_state = 20240917;
};

double modelAge(const System& system, double elevation, double rate)
{
    return (system.closureDepthM + elevation) / 1000.0 / rate;
}

struct Sample {
    QString name;
    const System* system;
    double elevation;
    double age;
    double sigma;
};

std::vector<Sample> samples()
{
    Scatter scatter;
    std::vector<Sample> result;
    const double span = highestElevation - lowestElevation;
    for (int i = 0; i < aheCount; ++i) {
        const double elevation = lowestElevation + span * i / (aheCount - 1);
        const QString name = QStringLiteral("T%1").arg(i + 1, 2, 10, QChar(u'0'));
        const double age = modelAge(ahe, elevation, trueRate) * (1.0 + 0.04 * scatter.gaussian());
        result.push_back({ name, &ahe, elevation, age, 0.06 * age });
        // 15 of them, spread evenly from the lowest to the highest (i = round(39 k / 14), k =
        // 0 .. 14), were dated by AFT too.
        const long k = std::lround(i * (aftCount - 1.0) / (aheCount - 1.0));
        if (std::lround(k * (aheCount - 1.0) / (aftCount - 1.0)) == i) {
            const double aftAge
                = modelAge(aft, elevation, trueRate) * (1.0 + 0.04 * scatter.gaussian());
            result.push_back({ name, &aft, elevation, aftAge, 0.06 * aftAge });
        }
    }
    return result;
}

double rateAt(int i)
{
    return firstRate + rateStep * i;
}

double chi2At(const std::vector<Sample>& observed, double rate)
{
    double sum = 0.0;
    for (const Sample& s : observed) {
        const double z = (s.age - modelAge(*s.system, s.elevation, rate)) / s.sigma;
        sum += z * z;
    }
    return sum;
}

void write(const QDir& dir, const QString& name, const QStringList& lines)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QTextStream out(&file);
    for (const QString& line : lines)
        out << line << '\n';
}

QString number(double value)
{
    return QString::number(value, 'g', 6);
}

// One row of an ages table: a model age, or the path's length where it is not reset.
QString ageRow(const QString& rate, const QString& x, const QString& elevation,
    const QString& method, const System& system, double age, double factor)
{
    const double scaled = age * factor;
    const bool reset = scaled <= pathMyr;
    return QStringLiteral("%1,%2,%3,,%4,%5,%6,,,,%7")
        .arg(rate, x, elevation, QString::fromLatin1(system.name), method,
            number(reset ? scaled : pathMyr), reset ? "yes" : "no");
}

const QString agesHeader = QStringLiteral("rate_mm_yr,x_m,elevation_m,site,system,method,age_ma,"
                                          "raw_age_ma,closure_temperature_c,closure_depth_m,"
                                          "reset");

// Each system by Dodson's closure (a little off the kinetic age) and by its kinetic model.
struct Method {
    const System* system;
    const char* name;
    double factor;
};
const std::vector<Method> methods { { &ahe, "dodson", 0.93 }, { &ahe, "diffusion", 1.0 },
    { &aft, "dodson", 1.05 }, { &aft, "annealing", 1.0 }, { &zhe, "dodson", 0.95 },
    { &zhe, "diffusion", 1.0 } };

void writeSweeps(const QDir& dir)
{
    QStringList ages { agesHeader };
    QStringList profile { agesHeader };
    for (int i = 0; i < rateCount; ++i) {
        const QString rate = number(rateAt(i));
        for (const Method& m : methods)
            ages << ageRow(rate, {}, {}, m.name, *m.system,
                modelAge(*m.system, meanElevation, rateAt(i)), m.factor);
        // The half-profile from the ridge (x = 0, highest) to the valley, 41 points.
        for (const Method& m : methods) {
            for (int k = 0; k <= 40; ++k) {
                const double x = 500.0 * k;
                const double elevation
                    = meanElevation + (highestElevation - meanElevation) * std::cos(std::numbers::pi * k / 40.0);
                profile << ageRow(rate, number(x), number(elevation), m.name, *m.system,
                    modelAge(*m.system, elevation, rateAt(i)), m.factor);
            }
        }
    }
    write(dir, QStringLiteral("ages.csv"), ages);
    write(dir, QStringLiteral("profile_ages.csv"), profile);
}

void writeFitFiles(const QDir& dir, const std::vector<Sample>& observed)
{
    QStringList observedLines { QStringLiteral("sample,system,age_ma,sigma_ma,elevation_m") };
    for (const Sample& s : observed)
        observedLines << QStringLiteral("%1,%2,%3,%4,%5")
                             .arg(s.name, QString::fromLatin1(s.system->name), number(s.age),
                                 number(s.sigma), number(s.elevation));
    write(dir, QStringLiteral("observed.csv"), observedLines);

    QStringList fit { QStringLiteral("rate_mm_yr,chi2") };
    int best = 0;
    for (int i = 0; i < rateCount; ++i) {
        fit << number(rateAt(i)) + u',' + number(chi2At(observed, rateAt(i)));
        if (chi2At(observed, rateAt(i)) < chi2At(observed, rateAt(best)))
            best = i;
    }
    write(dir, QStringLiteral("fit.csv"), fit);

    QStringList residuals { QStringLiteral("sample,system,method,elevation_m,age_ma,sigma_ma,"
                                           "predicted_age_ma,residual_sigma,reset,kinetics") };
    for (const Sample& s : observed) {
        const double predicted = modelAge(*s.system, s.elevation, rateAt(best));
        const bool aheSystem = s.system == &ahe;
        residuals << QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8,yes,%9")
                         .arg(s.name, QString::fromLatin1(s.system->name),
                             aheSystem ? "diffusion" : "annealing", number(s.elevation),
                             number(s.age), number(s.sigma), number(predicted),
                             number((s.age - predicted) / s.sigma),
                             aheSystem ? "rdaam" : "ketcham2007");
    }
    write(dir, QStringLiteral("residuals.csv"), residuals);
}

// A history of two phases: 0.03 mm/yr from 60 Ma, 0.12 mm/yr from 20 Ma; the path of the rock
// exposed today under 10 C at the surface and 25 C/km.
void writePath(const QDir& dir)
{
    const auto depthAt = [](double t) { return t <= 20.0 ? 120.0 * t : 2400.0 + 30.0 * (t - 20.0); };
    QStringList path { QStringLiteral("time_ma,temperature_c,depth_m") };
    for (int i = 0; i <= 600; ++i) {
        const double t = 60.0 - 0.1 * i;
        path << QStringLiteral("%1,%2,%3")
                    .arg(number(t), number(10.0 + 0.025 * depthAt(t)), number(depthAt(t)));
    }
    write(dir, QStringLiteral("path.csv"), path);
    // Closure at 65 C (AHe, 2.2 km: 18.3 Ma), 110 C (AFT, 4 km: 73 Ma is before the path: not
    // reset), 60 C by Dodson for AHe.
    write(dir, QStringLiteral("path_ages.csv"),
        { agesHeader, ",,,,AHe,dodson,16.6667,,60,2000,yes", ",,,,AHe,diffusion,18.3333,,65,2200,yes",
            ",,,,AFT,annealing,60,,,,no", ",,,,AFT,dodson,60,,,,no" });
}

void writeHistoryFiles(const QDir& dir)
{
    // The grid of a two-phase fit: change time 5 .. 55 Ma, first rate 0.02 .. 0.2 mm/yr, the last
    // rate fitted; chi2 a bowl around 20 Ma and 0.05 mm/yr.
    QStringList fit { QStringLiteral("start_1_ma,rate_1_mm_yr,start_2_ma,rate_2_mm_yr,chi2,in_range") };
    const double chi2Min = 48.0;
    const double level = chi2Min + 1.0;
    for (int c = 0; c <= 20; ++c)
        for (int r = 0; r <= 18; ++r) {
            const double change = 5.0 + 2.5 * c;
            const double rate1 = 0.02 + 0.01 * r;
            const double rate2 = 0.12 + 0.002 * (change - 20.0);
            const double chi2 = chi2Min + std::pow((change - 20.0) / 4.0, 2)
                + std::pow((rate1 - 0.05) / 0.012, 2);
            fit << QStringLiteral("60,%1,%2,%3,%4,%5")
                       .arg(number(rate1), number(change), number(rate2), number(chi2),
                           chi2 <= level ? "yes" : "no");
        }
    write(dir, QStringLiteral("history_fit.csv"), fit);

    // Three phases sampled by 16 walkers: changes about 35 and 12 Ma, rates about 0.04, 0.09
    // and 0.2 mm/yr.
    Scatter scatter;
    QStringList posterior { QStringLiteral(
        "walker,step,start_1_ma,rate_1_mm_yr,start_2_ma,rate_2_mm_yr,start_3_ma,rate_3_mm_yr,chi2") };
    for (int step = 0; step < 300; ++step)
        for (int walker = 0; walker < 16; ++walker) {
            const double z[5] = { scatter.gaussian(), scatter.gaussian(), scatter.gaussian(),
                scatter.gaussian(), scatter.gaussian() };
            const double chi2
                = chi2Min + z[0] * z[0] + z[1] * z[1] + z[2] * z[2] + z[3] * z[3] + z[4] * z[4];
            posterior << QStringLiteral("%1,%2,60,%3,%4,%5,%6,%7,%8")
                             .arg(walker)
                             .arg(step)
                             .arg(number(0.04 + 0.006 * z[0]), number(35.0 + 4.0 * z[1]),
                                 number(0.09 + 0.015 * z[2]), number(12.0 + 2.0 * z[3]),
                                 number(0.2 + 0.03 * z[4]), number(chi2));
        }
    write(dir, QStringLiteral("posterior.csv"), posterior);

    // chi2 against each change time of a three-phase fit.
    QStringList profile { QStringLiteral("change,change_time_ma,chi2,chi2_level") };
    for (int change = 1; change <= 2; ++change)
        for (int k = 0; k <= 50; ++k) {
            const double t = change == 1 ? 15.0 + 0.8 * k : 2.0 + 0.4 * k;
            const double best = change == 1 ? 35.0 : 12.0;
            const double width = change == 1 ? 4.0 : 2.0;
            profile << QStringLiteral("%1,%2,%3,%4")
                           .arg(change)
                           .arg(number(t), number(chi2Min + std::pow((t - best) / width, 2)),
                               number(level));
        }
    write(dir, QStringLiteral("change_profile.csv"), profile);
}

} // namespace

void writeManySamples(const QDir& dir)
{
    const std::vector<Sample> observed = samples();
    writeSweeps(dir);
    writeFitFiles(dir, observed);
    writePath(dir);
    writeHistoryFiles(dir);
}
