#pragma once

#include <QString>

// Draws the pictures of the maker's other products that the promotion window shows:
// <folder>/promotion_S.png, promotion_R.png and promotion_B.png. False when a file cannot be written.
bool writePromotionPictures(const QString& folder);
