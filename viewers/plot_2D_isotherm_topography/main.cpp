#include "periodicisothermviewer.h"

int main(int argc, char** argv)
{
    return runViewer(argc, argv, periodicIsothermViewer());
}
