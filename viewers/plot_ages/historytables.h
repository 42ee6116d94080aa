#pragma once
// The files of a fit of erosion histories, read into plain records for the history plots.
//
// A history is a piecewise constant erosion rate: phase k runs from start_k_ma to start_(k+1)_ma
// (the last one to the present), start_1_ma being the start of the path. Two files list them:
//   fit file       start_1_ma,rate_1_mm_yr,start_2_ma,rate_2_mm_yr[,...],chi2,in_range
//                  every history the fit tried; in_range = yes where chi2 lies within the range
//   posterior file walker,step,start_1_ma,rate_1_mm_yr,...,chi2
//                  the samples of an ensemble sampler after its burn-in
// told apart by the walker column. The profile file holds chi2 minimised over the other
// parameters against each change time:  change,change_time_ma,chi2,chi2_level.
// Columns are found by name, others are ignored; a row whose chi2 is empty (a history the model
// could not run) is left out. A file without a needed column, another empty field or one that
// is not a number, phases that do not start oldest first or a negative rate end the start-up
// with one line naming the file and line (ViewerStartError).

#include <QString>

#include <vector>

struct ErosionHistory {
    std::vector<double> startsMa; // phase starts, oldest first; startsMa[0] is the path start
    std::vector<double> ratesMmYr; // one per phase
    double chi2 = 0.0;
    bool inRange = false; // fit file: within the fit's range of chi2
};

struct HistoryTable {
    bool posterior = false; // samples of a sampler (walker column), not every history tried
    std::vector<ErosionHistory> histories;
};

HistoryTable readHistories(const QString& path);

struct ChangeProfilePoint {
    int change = 1; // 1: the oldest change time, 2: the next
    double timeMa = 0.0;
    double chi2 = 0.0; // minimised over the other parameters
    double level = 0.0; // the level the fit read the change time's range at
};

std::vector<ChangeProfilePoint> readChangeProfile(const QString& path);
