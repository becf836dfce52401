#pragma once
// A picture of a template or a report item: nothing, a bitmap or a metafile. Pictures are
// recognised by their content, not by their file name: BMP and ICO (read through Qt), JPEG
// (decoded with libjpeg), EMF and WMF (through our metafile reader, or the one put in its place
// with `setMetafileReader`; without one they load as no picture).

#include "platform/Metafile.h"
#include "platform/TCanvas.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>

#include <functional>
#include <memory>

namespace report {

class TPicture {
public:
    enum class Kind { None, Bitmap, Metafile };

    Kind kind() const { return m_kind; }
    bool isEmpty() const { return m_kind == Kind::None; }
    // Bitmaps: pixels. Metafiles: the frame in hundredths of an inch. 0 for no picture.
    int Width() const;
    int Height() const;
    // Valid only for the matching kind (a null image or an empty metafile otherwise).
    const QImage& bitmap() const { return m_bitmap; }
    const platform::Metafile& metafile() const;

    void clear();
    void setBitmap(const QImage& image);
    void setMetafile(const platform::Metafile& metafile);

    // Loads by content. On failure (missing file, unknown or damaged content) the picture
    // becomes empty and the answer is false.
    bool LoadFromFile(const QString& fileName);
    bool LoadFromBytes(const QByteArray& bytes);

    // The masks of the files a picture can be loaded from, separated by ';'.
    static QString fileMasks();

    // Turns EMF or WMF bytes into a metafile; false when it cannot. Setting one answers the
    // reader it replaces, so that whoever sets one can put the previous one back.
    using MetafileReader = std::function<bool(const QByteArray&, platform::Metafile&)>;
    static MetafileReader setMetafileReader(MetafileReader reader);

private:
    Kind m_kind = Kind::None;
    QImage m_bitmap;
    std::shared_ptr<const platform::Metafile> m_metafile;
};

// Pictures loaded from files and kept decoded. A report run reloads its pictures by name for
// every record: a file named again shares the picture decoded before (bitmaps and metafiles are
// shared, not copied), so every output element and page shows one image, decoded once. A file
// changed since (its size or time of change) is read again.
class PictureFiles {
public:
    // As TPicture::LoadFromFile.
    bool load(const QString& fileName, TPicture& picture);
    void clear() { m_files.clear(); }

private:
    struct Loaded {
        qint64 size = -1;
        qint64 modified = 0;
        TPicture picture; // empty when the file is no picture
    };
    QHash<QString, Loaded> m_files;
};

// Decodes a JPEG file's bytes into an RGB image; a null image when they are not a readable
// JPEG, end before the picture does, or the picture is beyond any reasonable size.
QImage decodeJpeg(const QByteArray& bytes);

// The drawing of pictures (shared by the output document, its writers and the designer).
// Places a picture of the graphic's size times the scales in `rect` (output units): unstretched
// at its own size, aligned left (0), right (1) or centred (2), top at the top; stretched with
// kept aspect, shrunk along one side; stretched otherwise, the rectangle as it is. A picture
// without size leaves the rectangle alone.
void FitPictureRect(platform::TRect& rect, bool stretch, bool keepAspect, const TPicture& graphic,
                    int alignment, double scaleX, double scaleY);
// The bitmap's bits stretched over the rectangle, replacing what is below.
void DrawBitmapDIB(platform::TCanvas& canvas, const platform::TRect& rect, const QImage& bitmap);
// A bitmap as DrawBitmapDIB, a metafile replayed into the rectangle; no picture draws nothing.
void DrawPicture(platform::TCanvas& canvas, const platform::TRect& rect, const TPicture& picture);
} // namespace report
