#pragma once

#include <QUrl>

// The maker's addresses that the help, review, promotion and share windows open. Until the program is published
// they are placeholders under the reserved ".example" domain.
namespace Maker_Links {

QUrl supportMail();
QUrl resellerMail();
QUrl website(int page); // 1 home, 2 products, 3 frequently asked questions
QUrl reviewPage();
QUrl commentsPage();
QUrl videoChannel();
QUrl sharePage(const QString& network); // "googleplus", "facebook", "twitter", "facebook-like"

// Hands a link to the desktop's mail program or browser, through the seam tests script.
void open(const QUrl& url);

} // namespace Maker_Links
