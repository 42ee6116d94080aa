#pragma once
// Measured confined fission-track lengths in apatite: one track per line, in either of two forms.
//
//   CSV with a header, columns found by their names in any case and order:
//       required  sample, length_um
//       optional  angle_deg (to the crystal's c axis), dpar_um (of the grain the track is in)
//   plain, for the tracks of one sample whose name is given apart (--lengths-sample):
//       length_um [angle_deg [dpar_um]]    one track per line, separated by blanks, no header
//
// Lines starting with '#' and blank lines are comments; lines end in LF, CR LF or CR. A track
// with an angle is projected onto the c axis (caxisprojection.h) and compared with the
// projected distribution; one without with the unprojected distribution. A length below
// 2.15 um (shorter than the model lets a track be measured) or beyond 20 um, an angle outside 0 to
// 90 degrees and a Dpar that is not positive are refused, naming the line, and so is the file as a
// whole: no fit is made on part of the tracks. Other columns of a CSV are ignored and named in a
// note, but a known column without its unit suffix, or within two edits of one, is refused
// ("unknown column 'angle': did you mean angle_deg?").

#include <filesystem>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ages {

// The tracks of one sample, in the order of the file.
struct SampleLengths {
    std::string sample;
    int firstLine = 0; // the line of its first track, for messages
    std::vector<double> projectedUm; // tracks measured with their angle, projected, um
    std::vector<double> unprojectedUm; // tracks measured without an angle, um
    std::optional<double> dparUm; // the mean Dpar of the tracks that give one, um

    std::size_t trackCount() const { return projectedUm.size() + unprojectedUm.size(); }
};

// A refused file: what() reads "FILE line N: reason" (or "FILE: reason" for the file as a whole).
class TrackLengthsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Lengths shorter than this are not measured (the model's distribution starts there), um.
inline constexpr double shortestMeasuredTrackUm = 2.15;
// No apatite track is longer, um.
inline constexpr double longestMeasuredTrackUm = 20.0;

// The samples of text, each once, in the order of their first track. plainSample: the name of
// the one sample of a file in the plain form; nothing for a CSV with a header. fileName labels
// the messages. notes, if given, receives the note naming the columns the reader ignores.
// Throws TrackLengthsError.
std::vector<SampleLengths> parseTrackLengths(std::istream& text, std::string_view fileName,
    const std::optional<std::string>& plainSample, std::vector<std::string>* notes = nullptr);

// The same for a file on disk (refused as unreadable when it cannot be opened).
std::vector<SampleLengths> readTrackLengths(const std::filesystem::path& file,
    const std::optional<std::string>& plainSample, std::vector<std::string>* notes = nullptr);

} // namespace ages
