// write_many_samples DIR: writes the 55-sample fixture of the age plots (manysamples.h) into
// DIR, to draw its pictures with render_plot and look at them.
#include "manysamples.h"

#include <iostream>

int main(int argc, char** argv)
{
    const QDir dir(QString::fromLocal8Bit(argc == 2 ? argv[1] : ""));
    if (argc != 2 || !dir.mkpath(QStringLiteral("."))) {
        std::cerr << "Usage: write_many_samples DIR (a folder that can be made)\n";
        return 1;
    }
    writeManySamples(dir);
    return 0;
}
