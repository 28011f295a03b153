#include "testkit/testmain.hpp"
#include "testler.hpp"

DURNAK_TEST_MAIN(hesapTesti, pencerelerTesti, gecmisTesti)
