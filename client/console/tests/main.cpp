#include "testkit/istemci.hpp"
#include "testler.hpp"

int main(int argc, char** argv)
{
    return durnak::testler::TestleriCalistir(argc, argv, {seccariTesti, konsolTesti, raporformTesti},
                                             durnak::testler::BaglantiliHazirlik());
}
