#pragma once

#include <QStringList>

namespace velmora::test {

// Statements the windows issue, line by line as the program writes them, so the
// tests that check a window's statement and the store's corpus share one text.

// The twelve column lines every gallery listing starts with, up to "c.LogoFederacao,".
const QStringList& listingColumns();
QStringList listing(const QStringList& tail); // listingColumns() + tail

// The main window's featured club (parameter CODALEATORIO).
const QStringList& featuredStatement();
// The detail card's row (parameter NOME).
const QStringList& cardStatement();
// "Todos os Clubes Cadastrados".
QStringList allClubsListing();

} // namespace velmora::test
