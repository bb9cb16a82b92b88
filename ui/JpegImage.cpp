#include "ui/JpegImage.h"

#include <climits>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

namespace {

struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

// Plain data only: libjpeg leaves a decode by longjmp, which must not skip a
// destructor, so nothing with one lives in the frames it jumps across.
struct Decoder
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void EmitMessage(j_common_ptr cinfo, int level)
{
    // Warnings are damaged data that libjpeg would paper over (a missing end
    // is filled with grey): a logo half grey is worse than none.
    if (level < 0)
        ErrorExit(cinfo);
}

void OutputMessage(j_common_ptr) {}

// Greyscale scanlines land in the first third of an RGB row and are spread
// out from the right, so no sample is overwritten before it is read.
void SpreadGrey(uchar* row, int width)
{
    for (int x = width - 1; x >= 0; --x)
        row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = row[x];
}

bool Decode(Decoder& d, const unsigned char* bytes, unsigned long size, QImage& image)
{
    d.cinfo.err = jpeg_std_error(&d.err.pub);
    d.err.pub.error_exit = ErrorExit;
    d.err.pub.emit_message = EmitMessage;
    d.err.pub.output_message = OutputMessage;
    if (setjmp(d.err.jump) != 0) {
        jpeg_destroy_decompress(&d.cinfo);
        image = QImage();
        return false;
    }
    jpeg_create_decompress(&d.cinfo);
    jpeg_mem_src(&d.cinfo, bytes, size);
    jpeg_read_header(&d.cinfo, TRUE);

    const bool grey = d.cinfo.jpeg_color_space == JCS_GRAYSCALE;
    if ((d.cinfo.num_components != 1 && d.cinfo.num_components != 3) ||
        qint64(d.cinfo.image_width) * d.cinfo.image_height > MaxJpegPixels) {
        jpeg_destroy_decompress(&d.cinfo);
        return false;
    }
    d.cinfo.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&d.cinfo);

    image = QImage(int(d.cinfo.output_width), int(d.cinfo.output_height), QImage::Format_RGB888);
    if (image.isNull() || d.cinfo.output_components != (grey ? 1 : 3)) {
        jpeg_destroy_decompress(&d.cinfo);
        image = QImage();
        return false;
    }
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        const int y = int(d.cinfo.output_scanline);
        JSAMPROW row = image.scanLine(y);
        if (jpeg_read_scanlines(&d.cinfo, &row, 1) != 1) {
            jpeg_destroy_decompress(&d.cinfo);
            image = QImage();
            return false;
        }
        if (grey)
            SpreadGrey(row, image.width());
    }
    jpeg_finish_decompress(&d.cinfo);
    jpeg_destroy_decompress(&d.cinfo);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray& data)
{
    if (data.isEmpty() || quint64(data.size()) > ULONG_MAX)
        return {};
    Decoder d{};
    QImage image;
    if (!Decode(d, reinterpret_cast<const unsigned char*>(data.constData()),
                static_cast<unsigned long>(data.size()), image))
        return {};
    return image;
}
