#include "agesviewer.h"

#include "agemapplot.h"
#include "ageplots.h"
#include "historyplots.h"
#include "lengthplot.h"
#include "misfitmap.h"
#include "residualplot.h"

#include <optional>

namespace {

// What the files after KIND are, for each kind: the required ones, then the optional ones.
struct AgeKind {
    QString name;
    QStringList requiredFiles;
    QStringList optionalFiles;
    bool takesLogY = false; // a chi2 axis that may be logarithmic
};

const QString logYFlag = QStringLiteral("--log-y");

const std::vector<AgeKind>& ageKinds()
{
    static const std::vector<AgeKind> kinds {
        { QStringLiteral("rate"), { "AGES_CSV" },
            { "OBSERVED_CSV", "FIT_CSV", "RESIDUALS_CSV", "PREDICTIONS_CSV" } },
        { QStringLiteral("misfit"), { "FIT_CSV" }, {}, true },
        { QStringLiteral("elevation"), { "AGES_CSV" }, { "OBSERVED_CSV", "FIT_CSV", "RESIDUALS_CSV" } },
        { QStringLiteral("path"), { "PATH_CSV", "AGES_CSV" }, { "RESIDUALS_CSV" } },
        { QStringLiteral("residuals"), { "RESIDUALS_CSV" }, {} },
        { QStringLiteral("history"), { "FIT_OR_POSTERIOR_CSV" }, {} },
        { QStringLiteral("profile"), { "PROFILE_CSV" }, {}, true },
        { QStringLiteral("map"), { "AGE_MAP_TIF" }, { "SAMPLES_CSV" } },
        { QStringLiteral("lengths"), { "LENGTHS_CSV", "PREDICTED_CSV" }, {} },
        { QStringLiteral("misfit-map"), { "FIT_CSV" }, {}, true },
    };
    return kinds;
}

QString kindUsage(const AgeKind& kind)
{
    QStringList words = kind.requiredFiles;
    for (const QString& optional : kind.optionalFiles)
        words << u'[' + optional + u']';
    return words.join(u' ');
}

const AgeKind& kindNamed(const QString& name)
{
    QStringList known;
    for (const AgeKind& kind : ageKinds()) {
        if (kind.name == name)
            return kind;
        known << kind.name;
    }
    throw ViewerStartError(QStringLiteral("unknown plot '%1' (known: %2)")
                               .arg(name, known.join(QStringLiteral(", "))));
}

} // namespace

FirstView startAgePlots(const QStringList& allArguments, const QDir& runDir)
{
    // --log-y may stand anywhere; any other word that starts with two dashes is a mistake.
    QStringList arguments;
    bool logY = false;
    for (const QString& word : allArguments) {
        if (word == logYFlag)
            logY = true;
        else if (word.startsWith(QStringLiteral("--")))
            throw ViewerStartError(
                QStringLiteral("unknown option '%1' (known: %2)").arg(word, logYFlag));
        else
            arguments << word;
    }
    const AgeKind& kind = kindNamed(arguments.value(0));
    if (logY && !kind.takesLogY)
        throw ViewerStartError(
            QStringLiteral("%1 is for the chi2 plots (misfit, profile), not %2")
                .arg(logYFlag, kind.name));
    // Files are named relative to the run directory; in the program that is the working
    // directory, and messages name each file as the user wrote it.
    const bool inWorkingDir = runDir == QDir::current();
    QStringList files;
    for (const QString& file : arguments.mid(1))
        files << (inWorkingDir ? file : QDir::cleanPath(runDir.filePath(file)));
    const qsizetype required = kind.requiredFiles.size();
    if (files.size() < required || files.size() > required + kind.optionalFiles.size())
        throw ViewerStartError(QStringLiteral("%1 needs %2, %3 file(s) given")
                                   .arg(kind.name, kindUsage(kind))
                                   .arg(files.size()));
    const auto file = [&files](qsizetype i) -> std::optional<QString> {
        return i < files.size() ? std::optional(files[i]) : std::nullopt;
    };

    if (kind.name == u"rate")
        return rateFigure(files[0], file(1), file(2), file(3), file(4));
    if (kind.name == u"misfit")
        return misfitFigure(files[0], logY);
    if (kind.name == u"elevation")
        return elevationFigure(files[0], file(1), file(2), file(3));
    if (kind.name == u"residuals")
        return residualFigure(files[0]);
    if (kind.name == u"history")
        return historyFigure(files[0]);
    if (kind.name == u"profile")
        return profileFigure(files[0], logY);
    if (kind.name == u"map")
        return mapFigure(files[0], file(1));
    if (kind.name == u"misfit-map")
        return misfitMapFigure(files[0], logY);
    if (kind.name == u"lengths")
        return lengthFigure(files[0], files[1]);
    return pathFigure(files[0], files[1], file(2));
}

const ViewerDefinition& agesViewer()
{
    static const ViewerDefinition viewer {
        .program = QStringLiteral("plot_ages"),
        .argumentNames = { "KIND", "FILE" },
        .caption = QStringLiteral("MORVA - COOLING AGES-PREDICTED AND MEASURED - BRENMOOR"),
        .style = ageKindStyle(QStringLiteral("rate")),
        .start = startAgePlots,
        .optionalArgumentNames = { "FILE", "FILE", "FILE", "FILE" },
        .flags = { logYFlag },
    };
    return viewer;
}
