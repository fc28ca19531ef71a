// The one source of the program's name and version: the resource script builds the version
// record from it and the C++ code reads the same macros. Plain #defines only, since windres
// preprocesses this file too.
#pragma once

#define TUNEWICK_VERSION_MAJOR 1
#define TUNEWICK_VERSION_MINOR 0
#define TUNEWICK_VERSION_TEXT "1.00"

#define TUNEWICK_PRODUCT_NAME "Ospray"
#define TUNEWICK_COMPANY_NAME "Vantor"
#define TUNEWICK_FILE_DESCRIPTION "'What I Am Listening To' Hack"
#define TUNEWICK_INTERNAL_NAME "Tunewick"
#define TUNEWICK_ORIGINAL_FILENAME "Tunewick.exe"

// Resource ids. The icon with the lowest id is the one the shell shows for the program file.
#define TUNEWICK_IDI_APP 1
