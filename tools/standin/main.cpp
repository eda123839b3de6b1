// tarvio-standin: a loopback HTTPS stand-in of the options-analytics
// service. Run with --help for the command line.
#include "tools/standin/standin_app.h"

int main(int argc, char** argv) { return standin::standinMain(argc, argv); }
