#include "testkit/testmain.hpp"
#include "testler.hpp"

DURNAK_TEST_MAIN(sepetHesapTesti, sepetTesti)
