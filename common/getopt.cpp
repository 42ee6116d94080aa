#include "getopt.h"

#include <cstring>
#include <iostream>

namespace optscan {

int opterr = 1;
std::ostream* errorOutput = &std::cerr;
int optind = 1;
int optopt = 0;
int optreset = 0;
char* optarg = nullptr;

namespace {

enum ErrorKind { colonInFlags = 1, optionNotFound = 2, missingArgument = 3 };

} // namespace

int optiserr(int /*argc*/, char* const argv[], int wordIndex, const char* /*optstring*/,
    int charIndex, int kind)
{
    const char offending = argv[wordIndex][charIndex];
    if (opterr && errorOutput) {
        std::ostream& out = *errorOutput;
        // Positions are counted from 1 with the leading dash, as the user sees the word.
        out << "Error in argument " << wordIndex << ", char " << charIndex + 1 << ": ";
        switch (kind) {
        case colonInFlags:
            out << ": in flags\n";
            break;
        case optionNotFound:
            out << "option not found " << offending << '\n';
            break;
        case missingArgument:
            out << "no argument for option " << offending << '\n';
            break;
        default:
            out << "unknown\n";
            break;
        }
        out.flush();
    }
    optopt = static_cast<signed char>(offending);
    return '?';
}

int getopt(int argc, char* const argv[], const char* optstring)
{
    // Position inside a word of grouped flags such as -hv, kept between calls.
    static int optchr = 0;
    static int dash = 0;

    if (optreset) {
        dash = 0;
        optchr = 0;
        optreset = 0;
    }
    if (optind >= argc)
        return -1;

    const char* word = argv[optind];
    if (!dash && (word[0] != '-' || word[1] == '\0'))
        return -1; // the first word that is not an option word ends the scan
    if (word[0] == '-' && word[1] == '-') {
        ++optind; // "--" and anything else that begins with two dashes end the scan, consumed
        return -1;
    }
    if (!dash) {
        dash = 1;
        optchr = 1;
    }

    const int wordIndex = optind;
    const int charIndex = optchr;
    const char ch = word[charIndex];
    const bool moreInWord = word[charIndex + 1] != '\0';

    if (ch == ':') {
        dash = 0;
        ++optind; // the rest of the word is discarded
        return optiserr(argc, argv, wordIndex, optstring, charIndex, colonInFlags);
    }

    const char* entry = ch != '\0' ? std::strchr(optstring, ch) : nullptr;
    if (!entry) {
        if (moreInWord) {
            optchr = charIndex + 1;
        } else {
            dash = 0;
            ++optind;
        }
        return optiserr(argc, argv, wordIndex, optstring, charIndex, optionNotFound);
    }

    if (entry[1] == ':') {
        // The argument is always the whole next word; the rest of this word is dropped.
        dash = 0;
        if (wordIndex + 1 == argc) {
            optind = wordIndex + 1;
            return optiserr(argc, argv, wordIndex, optstring, charIndex, missingArgument);
        }
        optarg = argv[wordIndex + 1];
        optind = wordIndex + 2;
        return ch;
    }

    if (moreInWord) {
        optchr = charIndex + 1;
    } else {
        dash = 0;
        ++optind;
    }
    return ch;
}

void printHelpHint(const char* programName, std::ostream& out)
{
    out << "Try `" << programName << " -h' for more information.\n";
}

} // namespace optscan
