// Writes the fit's benchmark data sets (fitdatasets.h) as --observed files, so that the runs of
// cooling_ages in the README can be repeated:
//
//     make_fit_datasets DIR      writes DIR/profile25_ahe.csv and DIR/grains10000_ahe.csv

#include "fitdatasets.h"

#include <exception>
#include <filesystem>
#include <iostream>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::cerr << "usage: make_fit_datasets DIR\n";
        return 1;
    }
    try {
        const std::filesystem::path directory = argv[1];
        fitdata::writeObservedFile(directory / "profile25_ahe.csv", fitdata::profile25());
        fitdata::writeObservedFile(directory / "grains10000_ahe.csv", fitdata::grains10000());
    } catch (const std::exception& error) {
        std::cerr << "ERROR: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
