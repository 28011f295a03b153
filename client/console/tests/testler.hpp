#pragma once

#include <QObject>

// One factory per test class; main.cpp runs them all.
QObject* seccariTesti();
QObject* konsolTesti();
QObject* raporformTesti();
