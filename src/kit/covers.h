#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

class PictureBox;

/// Cover photos: one JPEG file per card, Copertine_Libri/Foto_<n>.jpg in the
/// program folder, and the safe reading and writing of pictures that every
/// screen showing covers shares.
namespace Covers {

/// "Copertine_Libri/" in the program folder.
QString folder();

/// The cover file of the card whose number is given as the card screen shows
/// it ("12" gives .../Copertine_Libri/Foto_12.jpg); the number is trimmed.
/// Returns an empty text for anything but a card number (empty, not
/// decimal, zero, leading zeros), so that no other file is ever named.
QString path(const QString &cardNumber);

/// Creates the cover folder, with any missing parents. False on failure.
bool makeFolder();

/// Reads a picture file of any format Qt decodes, judged by its content.
/// Every picture the program loads from a file comes through here. Returns
/// false at once, and leaves image null, when the name is not a regular file
/// or a link to one (a device, a named pipe, a socket, a folder), when the
/// file is missing or unreadable, is not a picture, is cut short, or holds or
/// would need more bytes than the image allocation limit allows (the reading
/// stops there, checked again before decoding). When the file is a JPEG,
/// jpeg receives its bytes, so that an unchanged picture can be written back
/// as it was read.
bool readPicture(const QString &fileName, QImage &image, QByteArray *jpeg = nullptr);

/// The JPEG data to write for a picture: sourceJpeg as it is when the
/// picture came unchanged from a JPEG file, otherwise the picture encoded
/// once with the encoder's default settings. Empty on failure.
QByteArray jpegData(const QImage &image, const QByteArray &sourceJpeg);

/// How long a written picture must last.
enum class Keep {
    Stored,  ///< a picture the user saved: on the device before success is reported
    Scratch, ///< a working copy made again at every use (the preview pictures)
};

/// Writes the picture as a JPEG file, replacing any existing file only once
/// the whole new file is written. False on failure, with its cause in
/// *error when given.
bool writeJpeg(const QString &fileName, const QImage &image, const QByteArray &sourceJpeg = QByteArray(),
               Keep keep = Keep::Stored, QString *error = nullptr);

/// Puts the picture of a file into box, or placeholder when it cannot be read.
void loadInto(PictureBox *box, const QString &fileName, const QImage &placeholder);

} // namespace Covers
