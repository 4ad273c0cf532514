#include "platform/JpegCodedData.h"

#include "platform/PictureDecode.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace platform {

namespace {

// The device read in blocks; at its end the decoder is given an end marker, as its own file reader does.
struct Device_Source : jpeg_source_mgr {
    QIODevice* device = nullptr;
    QByteArray block;
};

constexpr JOCTET kEndMarker[] = { 0xFF, JPEG_EOI };

void initSource(j_decompress_ptr)
{
}

boolean fillInput(j_decompress_ptr info)
{
    auto* source = static_cast<Device_Source*>(info->src);
    source->block = source->device->read(64 * 1024);
    if (source->block.isEmpty()) {
        WARNMS(info, JWRN_JPEG_EOF);
        source->next_input_byte = kEndMarker;
        source->bytes_in_buffer = sizeof kEndMarker;
        return TRUE;
    }
    source->next_input_byte = reinterpret_cast<const JOCTET*>(source->block.constData());
    source->bytes_in_buffer = std::size_t(source->block.size());
    return TRUE;
}

void skipInput(j_decompress_ptr info, long count)
{
    auto* source = static_cast<Device_Source*>(info->src);
    while (count > long(source->bytes_in_buffer)) {
        count -= long(source->bytes_in_buffer);
        fillInput(info);
    }
    if (count > 0) {
        source->next_input_byte += count;
        source->bytes_in_buffer -= std::size_t(count);
    }
}

void termSource(j_decompress_ptr)
{
}

struct Watching_Errors : jpeg_error_mgr {
    std::jmp_buf refused;
    bool endedEarly = false;
    bool beyondMemory = false;
    char message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void refuse(j_common_ptr info)
{
    auto* errors = static_cast<Watching_Errors*>(info->err);
    errors->beyondMemory = errors->msg_code == JERR_NO_BACKING_STORE || errors->msg_code == JERR_OUT_OF_MEMORY;
    errors->format_message(info, errors->message);
    std::longjmp(errors->refused, 1);
}

// Warnings are not printed; those that tell of coded data that stop short are noted.
void noteMessage(j_common_ptr info, int level)
{
    auto* errors = static_cast<Watching_Errors*>(info->err);
    if (level < 0 && (errors->msg_code == JWRN_HIT_MARKER || errors->msg_code == JWRN_JPEG_EOF))
        errors->endedEarly = true;
}

void silent(j_common_ptr)
{
}

// Reads the coded data through at an eighth of the size, until they end or are found to end early; false
// when the decoder refuses the file or would pass the memory bound. Nothing of this frame changes between the
// jump's start and its return.
bool decodeAtAnEighth(
    jpeg_decompress_struct& info, Watching_Errors& errors, Device_Source& source, std::vector<JSAMPLE>& row)
{
    if (setjmp(errors.refused))
        return false;
    jpeg_create_decompress(&info); // keeps only the error handler
    info.src = &source;
    info.mem->max_memory_to_use = long(maximumPictureDecodeBytes);
    jpeg_read_header(&info, TRUE);
    info.scale_num = 1;
    info.scale_denom = 8;
    info.dct_method = JDCT_IFAST;
    info.do_fancy_upsampling = FALSE;
    info.do_block_smoothing = FALSE;
    jpeg_start_decompress(&info);
    row.resize(std::size_t(info.output_width) * std::size_t(info.output_components));
    JSAMPROW rows[1] = { row.data() };
    while (info.output_scanline < info.output_height && !errors.endedEarly)
        jpeg_read_scanlines(&info, rows, 1);
    return true;
}

} // namespace

JpegCodedData jpegCodedData(QIODevice& device, QString* reason)
{
    if (!device.peek(2).startsWith("\xFF\xD8"))
        return JpegCodedData::Whole;
    Watching_Errors errors;
    jpeg_decompress_struct info {};
    info.err = jpeg_std_error(&errors);
    errors.error_exit = refuse;
    errors.emit_message = noteMessage;
    errors.output_message = silent;
    Device_Source source;
    source.device = &device;
    source.next_input_byte = nullptr;
    source.bytes_in_buffer = 0; // nothing read yet
    source.init_source = initSource;
    source.fill_input_buffer = fillInput;
    source.skip_input_data = skipInput;
    source.resync_to_restart = jpeg_resync_to_restart;
    source.term_source = termSource;
    std::vector<JSAMPLE> row;
    const bool read = decodeAtAnEighth(info, errors, source, row);
    jpeg_destroy_decompress(&info);
    if (read)
        return errors.endedEarly ? JpegCodedData::EndEarly : JpegCodedData::Whole;
    if (errors.beyondMemory)
        return JpegCodedData::BeyondMemory;
    if (reason)
        *reason = QString::fromLocal8Bit(errors.message);
    return JpegCodedData::Refused;
}

} // namespace platform
