#pragma once

#include <QObject>

// One factory per test class; main.cpp runs them all.
QObject* hesapTesti();
QObject* pencerelerTesti();
QObject* gecmisTesti();
