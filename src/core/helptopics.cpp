#include "helptopics.h"

#include <QStringList>

namespace {

QString join(const QStringList &paragraphs)
{
    return paragraphs.join(HelpTopics::paragraphBreak());
}

QStringList schedarioParagraphs()
{
    return {
        QStringLiteral("L'App Schedario Libri è l'archivio bibliografico di Rilegora: per ogni volume si compila una "
                       "scheda con i dati del libro, la foto della copertina e fino a tre file allegati. Le schede "
                       "archiviate servono anche a compilare le pagine dei cataloghi, che possono importarne i dati "
                       "senza doverli scrivere una seconda volta."),
        QStringLiteral("Ogni scheda contiene i seguenti campi: titolo, autore, nazione, anno di pubblicazione, casa "
                       "editrice, città di pubblicazione, codice Dewey (scelto da un elenco con il pulsante accanto "
                       "alla casella), genere, ISBN, lingua, titolo originale (per le opere tradotte), traduttore, "
                       "collana, curatore, posizione su scaffale, codice su etichetta, numero dei volumi, formato, "
                       "numero delle pagine, prezzo, giudizio critico e note. Premendo Invio si passa da un campo al "
                       "successivo."),
        QStringLiteral("Con il pulsante Carica foto si associa alla scheda la foto della copertina, in formato Jpeg o "
                       "Bitmap: l'immagine viene ridotta per entrare nel riquadro di anteprima, senza essere "
                       "deformata. I pulsanti accanto permettono di vedere la foto nelle sue dimensioni reali (zoom), "
                       "di salvarla su disco e di cancellarla."),
        QStringLiteral("Per inserire una nuova scheda premere Nuovo, compilare i campi e premere Salva: la scheda "
                       "viene aggiunta in coda all'archivio. Per modificare una scheda esistente basta visualizzarla, "
                       "correggere i dati e premere di nuovo Salva. Il pulsante Duplica prepara una nuova scheda con "
                       "i dati di quella corrente: è il modo più rapido per archiviare i diversi volumi di una stessa "
                       "opera, cambiando soltanto i dati che differiscono."),
        QStringLiteral("Con Allega file si possono collegare a ogni scheda fino a tre file di qualsiasi tipo "
                       "(documenti, fogli di calcolo, immagini, recensioni), ciascuno con una breve descrizione. I "
                       "file vengono copiati nella cartella Documenti_Allegati del programma e si aprono con un clic "
                       "dalla finestra degli allegati."),
        QStringLiteral("Il pulsante Trova apre la ricerca delle schede in archivio: si possono compilare più filtri "
                       "contemporaneamente, per esempio autore e genere, e il programma elenca le schede che li "
                       "soddisfano tutti. Un doppio clic su una riga dell'elenco apre la scheda corrispondente."),
        QStringLiteral("Lo slide show mostra a tutto schermo le copertine dei libri in archivio, una ogni sei "
                       "secondi; dopo l'ultima copertina riparte dalla prima. Per terminarlo basta fare clic in un "
                       "punto qualsiasi dello schermo."),
        QStringLiteral("Anteprima mostra la scheda corrente così come verrà stampata su un foglio A4; Stampa la invia "
                       "alla stampante scelta, che può essere anche una stampante PDF."),
        QStringLiteral("Il pulsante Esporta crea un file in formato XLS con i dati di tutte le schede in archivio: il "
                       "file si apre con Microsoft Excel o con qualunque altro programma in grado di leggere i file "
                       "XLS."),
    };
}

QStringList cataloghiParagraphs()
{
    return {
        QStringLiteral("Dalla schermata di avvio di Rilegora si può creare un nuovo catalogo con Crea nuovo "
                       "catalogo, oppure lavorare su un catalogo già esistente con Apri catalogo esistente."),
        QStringLiteral("Tutti gli archivi del programma (schede dei libri, cataloghi, foto e documenti allegati) si "
                       "trovano nella cartella di installazione di Rilegora: per farne una copia di sicurezza basta "
                       "copiare l'intera cartella su un altro disco o su una chiavetta USB, e per ripristinarli basta "
                       "copiarla di nuovo al suo posto."),
        QStringLiteral("Per creare un catalogo scriverne il nome completo nella casella della schermata di creazione "
                       "e confermare con il pulsante Applica e chiudi."),
        QStringLiteral("Ogni catalogo è un file con estensione CAT, salvato nella cartella del programma, che può "
                       "contenere un numero qualsiasi di pagine. Conviene scegliere un nome descrittivo, per esempio "
                       "Narrativa italiana 2024, per ritrovarlo facilmente nell'elenco."),
        QStringLiteral("Dopo aver premuto \"Applica e chiudi\" si torna alla schermata di avvio: il nuovo catalogo si "
                       "apre scegliendolo dall'elenco della schermata \"Apri catalogo esistente\" e premendo \"Apri "
                       "archivio\"."),
        QStringLiteral("L'icona del cestino cancella definitivamente il catalogo selezionato nell'elenco: "
                       "l'operazione non può essere annullata."),
    };
}

QStringList catalogoParagraphs()
{
    return {
        QStringLiteral("Ogni pagina di un catalogo contiene otto libri: di ciascuno compaiono la miniatura della "
                       "copertina e, sotto il titolo scritto a caratteri grandi, l'autore, la casa editrice, l'anno, "
                       "il codice ISBN, il prezzo in euro e una nota libera."),
        QStringLiteral("I riquadri si compilano scrivendo i dati a mano oppure importandoli dallo schedario libri con "
                       "i pulsanti a freccia verde: si apre la ricerca delle schede e un doppio clic sul libro scelto "
                       "ne copia i dati e la copertina nel riquadro."),
        QStringLiteral("Per creare una pagina premere Nuovo, caricare le copertine, scrivere i testi e premere Salva. "
                       "Per modificare una pagina esistente raggiungerla con le frecce di scorrimento, apportare le "
                       "modifiche e premere di nuovo Salva."),
        QStringLiteral("I cataloghi così composti servono a presentare le novità ai clienti di una libreria, a "
                       "proporre bibliografie tematiche ai lettori di una biblioteca, a preparare elenchi per fiere, "
                       "mostre e scuole, o semplicemente a tenere in ordine la propria collezione."),
        QStringLiteral("Anteprima mostra la pagina in formato A4 con il nome del catalogo in alto e il numero della "
                       "pagina in basso, cioè la sua posizione nel file del catalogo; Stampa la invia alla stampante, "
                       "che può essere anche una stampante PDF."),
    };
}

} // namespace

namespace HelpTopics {

QString avvioTitle()
{
    return QStringLiteral("Uno sguardo a Rilegora");
}

QString schedarioLibriTitle()
{
    return QStringLiteral("App Schedario Libri");
}

QString catalogoLibriTitle()
{
    return QStringLiteral("App Catalogo Libri");
}

QString cataloghiTitle()
{
    return QStringLiteral("Creazione e apertura cataloghi");
}

QString esportazioneTitle()
{
    return QStringLiteral("Esportazione archivio libri in Excel");
}

QString avvio()
{
    QStringList text = {
        QStringLiteral("Rilegora è un programma per comporre cataloghi bibliografici: ogni catalogo è formato da "
                       "pagine A4 che contengono fino a otto titoli, ciascuno con la miniatura della copertina e i "
                       "principali dati bibliografici, pronte per essere stampate su carta o con una stampante PDF. "
                       "Le pagine si possono compilare a mano oppure con i dati dello schedario libri, l'archivio in "
                       "cui si registrano i volumi posseduti."),
        QStringLiteral("Le librerie possono preparare in pochi minuti cataloghi delle novità, delle offerte e dei "
                       "titoli disponibili da consegnare ai clienti o da inviare per posta elettronica; le biblioteche "
                       "possono tenere lo schedario del proprio patrimonio e proporre bibliografie tematiche; i "
                       "lettori e i collezionisti possono catalogare la propria raccolta e sapere sempre dove si "
                       "trova ogni libro."),
    };
    text += schedarioParagraphs();
    text += cataloghiParagraphs();
    text += catalogoParagraphs();
    text += {
        QStringLiteral("Rilegora funziona anche da una chiavetta USB: basta copiare l'intera cartella del programma "
                       "sulla chiavetta e avviarlo da lì. La copia della cartella è anche il modo più rapido per fare "
                       "una copia di sicurezza di tutti gli archivi."),
        QStringLiteral("L'accesso al programma è protetto da una password, che l'utente autorizzato può cambiare in "
                       "qualsiasi momento con il pulsante Cambia password della schermata di autenticazione. Al primo "
                       "accesso dopo ogni installazione la password da utilizzare è rilegora: si consiglia di "
                       "sostituirla subito con una password personale."),
        QStringLiteral("Gli archivi possono essere condivisi tra le postazioni di una rete locale installando il "
                       "programma in una cartella condivisa e avviandolo dalle singole postazioni, anche tutte "
                       "insieme: ognuna può consultare, cercare, stampare ed esportare in qualsiasi momento. Durante "
                       "un salvataggio il programma riserva l'archivio per un istante, così due postazioni che "
                       "inseriscono una scheda o una pagina nello stesso momento ricevono ciascuna il proprio numero; "
                       "se l'archivio resta occupato da un'altra postazione per qualche secondo, il programma lo "
                       "segnala senza salvare nulla e basta riprovare. Se la scheda o la pagina che si salva è stata "
                       "modificata da un'altra postazione dopo essere stata aperta, il programma chiede se "
                       "sovrascriverla oppure mostrarla com'è ora in archivio; allo stesso modo segnala un catalogo "
                       "eliminato o una password cambiata da un'altra postazione, senza ricreare né perdere nulla."),
        QStringLiteral("Si raccomanda infine di copiare regolarmente la cartella del programma su un altro supporto: "
                       "così il lavoro svolto non andrà mai perduto."),
    };
    return join(text);
}

QString schedarioLibri()
{
    return join(schedarioParagraphs());
}

QString catalogoLibri()
{
    return join(catalogoParagraphs());
}

QString cataloghi()
{
    return join(cataloghiParagraphs());
}

QString esportazione()
{
    return join({
        QStringLiteral("Questa funzione esporta i dati testuali di tutte le schede dello schedario libri in un foglio "
                       "di lavoro di Excel, in formato XLS, che si apre con Microsoft Excel e con qualunque altro "
                       "programma per ufficio in grado di leggere i file XLS."),
        QStringLiteral("Fare clic sull'icona di Excel nella finestra della griglia: il file viene creato all'istante "
                       "e, rispondendo sì alla domanda che segue, si apre subito."),
        QStringLiteral("A questo punto è possibile salvare il file dove si preferisce e con il nome desiderato. "
                       "L'icona accanto a quella di Excel fa il cammino inverso: aggiunge in fondo all'archivio, come "
                       "nuove schede, le righe di un foglio di calcolo salvato in formato CSV da Excel o da "
                       "LibreOffice Calc, oppure di un file Schedario_Libri.xls esportato da Rilegora; nella finestra "
                       "che si apre si sceglie quale campo della scheda riempie ogni colonna del file."),
    });
}

QList<Topic> all()
{
    return {
        {avvioTitle(), avvio()},
        {schedarioLibriTitle(), schedarioLibri()},
        {cataloghiTitle(), cataloghi()},
        {catalogoLibriTitle(), catalogoLibri()},
        {esportazioneTitle(), esportazione()},
    };
}

QStringList paragraphs(const QString &body)
{
    return body.split(paragraphBreak());
}

} // namespace HelpTopics
