#include "report/engine/document/TPicture.h"

#include "report/engine/document/MetafileReader.h"
#include "report/engine/sest_lib.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <utility>

#include <jpeglib.h>

#include <jerror.h> // after jpeglib.h, which it needs

namespace report {

namespace {

// Width w placed in [left, right) by alignment: right (1), centred (2) or left.
void alignHorizontally(platform::TRect& rect, qint64 w, int alignment) {
    auto clamped = [](qint64 v) { return int(std::clamp<qint64>(v, INT_MIN, INT_MAX)); };
    if (alignment == 1) {
        rect.left = clamped(rect.right - w);
    } else if (alignment == 2) {
        rect.left = clamped((qint64(rect.left) + rect.right - w) / 2);
        rect.right = clamped(rect.left + w);
    } else {
        rect.right = clamped(rect.left + w);
    }
}

TPicture::MetafileReader& metafileReader() {
    static TPicture::MetafileReader reader = ReadMetafile;
    return reader;
}

bool startsWith(const QByteArray& bytes, const char* magic, int length, int offset = 0) {
    return bytes.size() >= offset + length &&
           std::memcmp(bytes.constData() + offset, magic, size_t(length)) == 0;
}

bool isJpeg(const QByteArray& b) {
    return startsWith(b, "\xFF\xD8\xFF", 3);
}
bool isBmp(const QByteArray& b) {
    return startsWith(b, "BM", 2);
}
bool isIco(const QByteArray& b) {
    return startsWith(b, "\0\0\1\0", 4);
}
bool isEmf(const QByteArray& b) {
    return startsWith(b, "\1\0\0\0", 4) && startsWith(b, " EMF", 4, 40);
}
bool isWmf(const QByteArray& b) {
    return startsWith(b, "\xD7\xCD\xC6\x9A", 4) || startsWith(b, "\1\0\x09\0", 4) ||
           startsWith(b, "\2\0\x09\0", 4);
}

QImage readWithQt(const QByteArray& bytes, const char* format) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    return reader.read();
}

// libjpeg reports fatal errors through error_exit, which must not return: jump back to the
// decoding step. Nothing with a destructor lives between setjmp and the jump.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf back;
};

void jpegErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->back, 1);
}
// Warnings pass silently, but data that ends before the picture does (the file, or the scan at
// a marker) is damage: libjpeg would go on and make up the rest, which for a few hundred bytes
// claiming millions of pixels is seconds of work for a grey picture.
void jpegWarning(j_common_ptr info, int level) {
    const int code = info->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) jpegErrorExit(info);
}

constexpr long long maxJpegPixels = 50'000'000; // 150 MB as RGB

bool readJpegHeader(jpeg_decompress_struct* info, JpegError* error, const QByteArray* bytes) {
    if (setjmp(error->back)) return false;
    jpeg_mem_src(info, reinterpret_cast<const unsigned char*>(bytes->constData()),
                 static_cast<unsigned long>(bytes->size()));
    if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK) return false;
    const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    info->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_calc_output_dimensions(info);
    return true;
}

// Decodes the rows into `image` (already sized), converting CMYK to RGB.
bool readJpegRows(jpeg_decompress_struct* info, JpegError* error, QImage* image) {
    if (setjmp(error->back)) return false;
    jpeg_start_decompress(info);
    const bool cmyk = info->out_color_space == JCS_CMYK;
    // Adobe writes CMYK JPEGs inverted.
    const bool inverted = cmyk && info->saw_Adobe_marker;
    while (info->output_scanline < info->output_height) {
        const int row = int(info->output_scanline);
        uchar* line = image->scanLine(row);
        JSAMPROW rows[1] = {line};
        jpeg_read_scanlines(info, rows, 1);
        if (cmyk) {
            // In place: 4 bytes per pixel in, 3 out, from the left, so nothing is overwritten
            // before it is read.
            for (int x = 0; x < int(info->output_width); ++x) {
                int c = line[4 * x], m = line[4 * x + 1], y = line[4 * x + 2], k = line[4 * x + 3];
                if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
                line[3 * x] = uchar(c * k / 255);
                line[3 * x + 1] = uchar(m * k / 255);
                line[3 * x + 2] = uchar(y * k / 255);
            }
        }
    }
    jpeg_finish_decompress(info);
    return true;
}

} // namespace

QImage decodeJpeg(const QByteArray& bytes) {
    jpeg_decompress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegErrorExit;
    error.manager.emit_message = jpegWarning;
    jpeg_create_decompress(&info);
    QImage image;
    if (readJpegHeader(&info, &error, &bytes) && info.output_width > 0 && info.output_height > 0 &&
        (long long)info.output_width * info.output_height <= maxJpegPixels) {
        // A CMYK row needs 4 bytes per pixel while it is converted: allocate room for it.
        const int width = int(info.output_width);
        const bool cmyk = info.out_color_space == JCS_CMYK;
        QImage rows(cmyk ? (width * 4 + 2) / 3 : width, int(info.output_height),
                    QImage::Format_RGB888);
        if (!rows.isNull() && readJpegRows(&info, &error, &rows))
            image = cmyk ? rows.copy(0, 0, width, rows.height()) : rows;
    }
    jpeg_destroy_decompress(&info);
    return image;
}

int TPicture::Width() const {
    switch (m_kind) {
    case Kind::Bitmap:
        return m_bitmap.width();
    case Kind::Metafile:
        return int(qint64(m_metafile->width()) * 100 / m_metafile->unitsPerInch());
    default:
        return 0;
    }
}

int TPicture::Height() const {
    switch (m_kind) {
    case Kind::Bitmap:
        return m_bitmap.height();
    case Kind::Metafile:
        return int(qint64(m_metafile->height()) * 100 / m_metafile->unitsPerInch());
    default:
        return 0;
    }
}

const platform::Metafile& TPicture::metafile() const {
    static const platform::Metafile empty;
    return m_metafile ? *m_metafile : empty;
}

void TPicture::clear() {
    m_kind = Kind::None;
    m_bitmap = QImage();
    m_metafile.reset();
}

void TPicture::setBitmap(const QImage& image) {
    clear();
    if (image.isNull()) return;
    m_kind = Kind::Bitmap;
    m_bitmap = image;
}

void TPicture::setMetafile(const platform::Metafile& metafile) {
    clear();
    m_kind = Kind::Metafile;
    m_metafile = std::make_shared<const platform::Metafile>(metafile);
}

bool TPicture::LoadFromFile(const QString& fileName) {
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        clear();
        return false;
    }
    return LoadFromBytes(file.readAll());
}

bool TPicture::LoadFromBytes(const QByteArray& bytes) {
    clear();
    if (isEmf(bytes) || isWmf(bytes)) {
        platform::Metafile metafile;
        if (!metafileReader() || !metafileReader()(bytes, metafile)) return false;
        setMetafile(metafile);
        return true;
    }
    QImage image;
    if (isJpeg(bytes)) {
        image = decodeJpeg(bytes);
    } else if (isBmp(bytes)) {
        image = readWithQt(bytes, "bmp");
    } else if (isIco(bytes)) {
        image = readWithQt(bytes, "ico");
    }
    setBitmap(image);
    return !isEmpty();
}

bool PictureFiles::load(const QString& fileName, TPicture& picture) {
    const QFileInfo file(fileName);
    const QString key = file.absoluteFilePath();
    const qint64 modified = file.lastModified().toMSecsSinceEpoch();
    auto known = m_files.find(key);
    if (known == m_files.end() || known->size != file.size() || known->modified != modified) {
        Loaded loaded{file.size(), modified, {}};
        loaded.picture.LoadFromFile(fileName);
        known = m_files.insert(key, loaded);
    }
    picture = known->picture;
    return !picture.isEmpty();
}

QString TPicture::fileMasks() {
    return QStringLiteral("*.bmp;*.ico;*.emf;*.wmf;*.jpg;*.jpeg");
}

TPicture::MetafileReader TPicture::setMetafileReader(MetafileReader reader) {
    return std::exchange(metafileReader(), std::move(reader));
}

void FitPictureRect(platform::TRect& rect, bool stretch, bool keepAspect, const TPicture& graphic,
                    int alignment, double scaleX, double scaleY) {
    const int w = ScaleRound(graphic.Width(), scaleX);
    const int h = ScaleRound(graphic.Height(), scaleY);
    if (w <= 0 || h <= 0) return;
    if (!stretch) {
        rect.bottom = int(std::min<qint64>(qint64(rect.top) + h, INT_MAX));
        alignHorizontally(rect, w, alignment);
        return;
    }
    const qint64 width = qint64(rect.right) - rect.left;
    const qint64 height = qint64(rect.bottom) - rect.top;
    if (!keepAspect || width == 0 || height == 0) return;
    // Products of a rectangle side (up to 2^32) and a picture side (up to 2^31) need 128 bits.
    __extension__ using Wide = __int128;
    if (Wide(h) * width <= Wide(w) * height) { // h / height <= w / width
        const Wide bottom = rect.top + Wide(width) * h / w;
        rect.bottom = int(std::clamp<Wide>(bottom, INT_MIN, INT_MAX));
    } else {
        alignHorizontally(rect, qint64(Wide(height) * w / h), alignment);
    }
}

void DrawBitmapDIB(platform::TCanvas& canvas, const platform::TRect& rect, const QImage& bitmap) {
    if (!bitmap.isNull()) canvas.StretchDraw(rect, bitmap);
}

void DrawPicture(platform::TCanvas& canvas, const platform::TRect& rect, const TPicture& picture) {
    switch (picture.kind()) {
    case TPicture::Kind::Bitmap:
        DrawBitmapDIB(canvas, rect, picture.bitmap());
        break;
    case TPicture::Kind::Metafile:
        canvas.StretchDraw(rect, picture.metafile());
        break;
    case TPicture::Kind::None:
        break;
    }
}

} // namespace report
