// Writes the 55-sample fixture of the age plots (manysamples.h) into a folder, so that its
// pictures can be drawn with render_plot and looked at:
//   write_many_samples DIR
#include "manysamples.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "Usage: write_many_samples DIR\n";
        return 1;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::cerr << "write_many_samples: cannot make '" << argv[1] << "'\n";
        return 1;
    }
    writeManySamples(dir);
    return 0;
}
