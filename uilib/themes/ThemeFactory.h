#pragma once
// The theme factory: a new paint manager for a theme number. Numbers of themes not built yet,
// and unknown numbers, give the default (classic) theme.
class CWVPPaintManager;

CWVPPaintManager* WVPCreateThemePaintManager(int number);
