#pragma once

class QObject;

QObject* girisTesti();
QObject* kullaniciKayitTesti();
