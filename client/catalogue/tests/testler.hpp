#pragma once

class QObject;

QObject* stokAyarintiTesti();
QObject* fiyatSunumuTesti();
QObject* stokAramaTesti();
