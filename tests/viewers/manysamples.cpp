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
constexpr double chi2Min = 48.0; // of the history fits

struct System {
    QString name;
    double closureDepthM;
};
const System ahe { "AHe", 1100.0 }, aft { "AFT", 2400.0 }, zhe { "ZHe", 4000.0 };

// Gaussian numbers (Box-Muller) from a 64-bit linear congruential generator (Knuth's MMIX
// constants): the same on every machine.
double gaussian()
{
    static std::uint64_t state = 20240917;
    const auto uniform = [] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return (static_cast<double>(state >> 11) + 0.5) / 9007199254740992.0;
    };
    const double u = uniform();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * uniform());
}

double modelAge(const System& system, double elevation, double rate)
{
    return (system.closureDepthM + elevation) / 1000.0 / rate;
}

double rateAt(int i)
{
    return 0.02 + 0.0025 * i; // 41 rates to 0.12 mm/yr
}

QString number(double value)
{
    return QString::number(value, 'g', 6);
}

void write(const QDir& dir, const QString& name, const QStringList& lines)
{
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        QTextStream(&file) << lines.join(u'\n') << '\n';
}

struct Sample {
    QString name;
    const System* system;
    double elevation, age, sigma;
};

std::vector<Sample> samples()
{
    std::vector<Sample> result;
    for (int i = 0; i < aheCount; ++i) {
        const double elevation
            = lowestElevation + (highestElevation - lowestElevation) * i / (aheCount - 1);
        const QString name = QStringLiteral("T%1").arg(i + 1, 2, 10, QChar(u'0'));
        // 15 of the 40, evenly spread (i = round(39 k / 14)), were dated by AFT too.
        const long k = std::lround(i * (aftCount - 1.0) / (aheCount - 1.0));
        const bool withAft = std::lround(k * (aheCount - 1.0) / (aftCount - 1.0)) == i;
        for (const System* system : { &ahe, &aft }) {
            if (system == &aft && !withAft)
                continue;
            const double age = modelAge(*system, elevation, trueRate) * (1.0 + 0.04 * gaussian());
            result.push_back({ name, system, elevation, age, 0.06 * age });
        }
    }
    return result;
}

// The ages tables: each system by Dodson's closure (a little off) and by its kinetic model, at
// one elevation (a transient-like sweep) or along the half-profile (a periodic-like one).
void writeAges(const QDir& dir)
{
    struct Method {
        const System* system;
        QString name;
        double factor;
    };
    const std::vector<Method> methods { { &ahe, "dodson", 0.93 }, { &ahe, "diffusion", 1.0 },
        { &aft, "dodson", 1.05 }, { &aft, "annealing", 1.0 }, { &zhe, "dodson", 0.95 },
        { &zhe, "diffusion", 1.0 } };
    const QString header = "rate_mm_yr,x_m,elevation_m,site,system,method,age_ma,raw_age_ma,"
                           "closure_temperature_c,closure_depth_m,reset";
    QStringList sweep { header }, profile { header };
    const auto row = [](double rate, const QString& x, const QString& elevation, const Method& m,
                         double age) {
        const bool reset = age * m.factor <= pathMyr; // else a minimum age: the path's length
        return QStringLiteral("%1,%2,%3,,%4,%5,%6,,,,%7")
            .arg(number(rate), x, elevation, m.system->name, m.name,
                number(reset ? age * m.factor : pathMyr), reset ? "yes" : "no");
    };
    for (int i = 0; i <= 40; ++i)
        for (const Method& m : methods) {
            sweep << row(rateAt(i), {}, {}, m, modelAge(*m.system, meanElevation, rateAt(i)));
            for (int k = 0; k <= 40; ++k) { // from the ridge (x = 0) to the valley
                const double elevation = meanElevation
                    + (highestElevation - meanElevation) * std::cos(std::numbers::pi * k / 40);
                profile << row(rateAt(i), number(500.0 * k), number(elevation), m,
                    modelAge(*m.system, elevation, rateAt(i)));
            }
        }
    write(dir, "ages.csv", sweep);
    write(dir, "profile_ages.csv", profile);
}

void writeFit(const QDir& dir, const std::vector<Sample>& observed)
{
    QStringList measured { "sample,system,age_ma,sigma_ma,elevation_m" };
    for (const Sample& s : observed)
        measured << QStringList { s.name, s.system->name, number(s.age), number(s.sigma),
            number(s.elevation) }
                        .join(u',');
    write(dir, "observed.csv", measured);

    const auto chi2 = [&observed](double rate) {
        double sum = 0.0;
        for (const Sample& s : observed)
            sum += std::pow((s.age - modelAge(*s.system, s.elevation, rate)) / s.sigma, 2);
        return sum;
    };
    QStringList fit { "rate_mm_yr,chi2" };
    int best = 0;
    for (int i = 0; i <= 40; ++i) {
        fit << number(rateAt(i)) + u',' + number(chi2(rateAt(i)));
        best = chi2(rateAt(i)) < chi2(rateAt(best)) ? i : best;
    }
    write(dir, "fit.csv", fit);

    QStringList residuals { "sample,system,method,elevation_m,age_ma,sigma_ma,predicted_age_ma,"
                            "residual_sigma,reset,kinetics" };
    for (const Sample& s : observed) {
        const double predicted = modelAge(*s.system, s.elevation, rateAt(best));
        const bool helium = s.system == &ahe;
        residuals << QStringList { s.name, s.system->name, helium ? "diffusion" : "annealing",
            number(s.elevation), number(s.age), number(s.sigma), number(predicted),
            number((s.age - predicted) / s.sigma), "yes", helium ? "rdaam" : "ketcham2007" }
                         .join(u',');
    }
    write(dir, "residuals.csv", residuals);
}

void writeHistories(const QDir& dir)
{
    // A two-phase history's path (0.03 mm/yr from 60 Ma, 0.12 from 20 Ma; 10 C at the surface,
    // 25 C/km) and its ages: AHe closed, AFT not reset on so short a path.
    QStringList path { "time_ma,temperature_c,depth_m" };
    for (int i = 0; i <= 600; ++i) {
        const double t = 60.0 - 0.1 * i;
        const double depth = t <= 20.0 ? 120.0 * t : 2400.0 + 30.0 * (t - 20.0);
        path << QStringList { number(t), number(10.0 + 0.025 * depth), number(depth) }.join(u',');
    }
    write(dir, "path.csv", path);
    write(dir, "path_ages.csv",
        { "rate_mm_yr,x_m,elevation_m,site,system,method,age_ma,raw_age_ma,"
          "closure_temperature_c,closure_depth_m,reset",
            ",,,,AHe,dodson,16.6667,,60,2000,yes", ",,,,AHe,diffusion,18.3333,,65,2200,yes",
            ",,,,AFT,annealing,60,,,,no", ",,,,AFT,dodson,60,,,,no" });

    // A two-phase grid fit: chi2 a bowl around a change at 20 Ma and a first rate of 0.05.
    QStringList fit { "start_1_ma,rate_1_mm_yr,start_2_ma,rate_2_mm_yr,chi2,in_range" };
    for (int c = 0; c <= 20; ++c)
        for (int r = 0; r <= 18; ++r) {
            const double change = 5.0 + 2.5 * c;
            const double rate = 0.02 + 0.01 * r;
            const double chi2
                = chi2Min + std::pow((change - 20.0) / 4.0, 2) + std::pow((rate - 0.05) / 0.012, 2);
            fit << QStringLiteral("60,%1,%2,%3,%4,%5")
                       .arg(number(rate), number(change), number(0.12 + 0.002 * (change - 20.0)),
                           number(chi2), chi2 <= chi2Min + 1.0 ? "yes" : "no");
        }
    write(dir, "history_fit.csv", fit);

    // Three phases sampled by 16 walkers: changes about 35 and 12 Ma.
    QStringList posterior { "walker,step,start_1_ma,rate_1_mm_yr,start_2_ma,rate_2_mm_yr,"
                            "start_3_ma,rate_3_mm_yr,chi2" };
    for (int step = 0; step < 300; ++step)
        for (int walker = 0; walker < 16; ++walker) {
            double z[5];
            double chi2 = chi2Min;
            for (double& value : z) {
                value = gaussian();
                chi2 += value * value;
            }
            posterior << QStringLiteral("%1,%2,60,%3,%4,%5,%6,%7,%8")
                             .arg(walker)
                             .arg(step)
                             .arg(number(0.04 + 0.006 * z[0]), number(35.0 + 4.0 * z[1]),
                                 number(0.09 + 0.015 * z[2]), number(12.0 + 2.0 * z[3]),
                                 number(0.2 + 0.03 * z[4]), number(chi2));
        }
    write(dir, "posterior.csv", posterior);

    QStringList profile { "change,change_time_ma,chi2,chi2_level" };
    for (int change = 1; change <= 2; ++change)
        for (int k = 0; k <= 50; ++k) {
            const double t = change == 1 ? 15.0 + 0.8 * k : 2.0 + 0.4 * k;
            const double chi2 = chi2Min
                + std::pow(change == 1 ? (t - 35.0) / 4.0 : (t - 12.0) / 2.0, 2);
            profile << QStringLiteral("%1,%2,%3,%4")
                           .arg(change)
                           .arg(number(t), number(chi2), number(chi2Min + 1.0));
        }
    write(dir, "change_profile.csv", profile);
}

} // namespace

void writeManySamples(const QDir& dir)
{
    writeAges(dir);
    writeFit(dir, samples());
    writeHistories(dir);
}
