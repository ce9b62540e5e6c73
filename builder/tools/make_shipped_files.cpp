// Build step: writes the default colors.pcf and default.bmp the programs ship beside themselves.

#include <iostream>

#include "imagery/ShippedFiles.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_shipped_files FOLDER\n";
        return 2;
    }
    if (!writeShippedFiles(argv[1])) {
        std::cerr << "make_shipped_files: cannot write into " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
