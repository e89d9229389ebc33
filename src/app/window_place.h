#pragma once

class QWidget;

// Moves `window` so that its middle lies over the middle of `owner`: left = owner's left +
// owner's width / 2 - own width / 2, likewise for the top (halves rounded toward zero).
void CenterOver(QWidget& window, const QWidget& owner);
