#pragma once

#include <QObject>

// One factory per test class; main.cpp runs them all.
QObject* beklesinuTesti();
QObject* utilsTesti();
QObject* sekmelerTesti();
QObject* unit1Testi();
QObject* geriBildirimTesti();
