#pragma once

#include <QList>
#include <QString>

/// The help topics of the program: each is a one-line title and a body of
/// paragraphs, one long line each, separated by an empty line (CR LF CR LF).
/// The screens show them in the help window; the manual Guida.pdf is made
/// from the same texts when the program is built.
namespace HelpTopics {

/// The separator between two paragraphs of a body.
inline QString paragraphBreak()
{
    return QStringLiteral("\r\n\r\n");
}

QString avvioTitle();          ///< "Uno sguardo a Rilegora" (launcher)
QString schedarioLibriTitle(); ///< "App Schedario Libri" (card screen)
QString catalogoLibriTitle();  ///< "App Catalogo Libri" (catalogue page editor)
QString cataloghiTitle();      ///< "Creazione e apertura cataloghi" (create and open catalogue)
QString esportazioneTitle();   ///< "Esportazione archivio libri in Excel" (export screen)

/// The whole program at a glance: it holds the card index, catalogue and
/// catalogue-page topics word for word, and names the initial password.
QString avvio();
QString schedarioLibri();
QString catalogoLibri();
QString cataloghi();
QString esportazione();

struct Topic
{
    QString title;
    QString body;
};

/// The distinct topics, in the order of the manual.
QList<Topic> all();

/// The paragraphs of a body.
QStringList paragraphs(const QString &body);

} // namespace HelpTopics
