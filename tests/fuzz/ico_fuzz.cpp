// Any bytes as an icon (the first four bytes of its header kept), loaded and drawn as a report
// draws pictures: never a crash, a hang or a sanitizer report (see FuzzPicture.h).

#include "FuzzApplication.h"
#include "FuzzPicture.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    startGuiApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    exercisePicture(withSignature(bytes, 0, QByteArrayView("\0\0\1\0", 4)));
    return 0;
}
