// Counts the calls of each entry and, when TAVROSIM_TRACE names a file,
// appends one line per call: name, arguments and result, with the fields of
// every record a call takes or fills. The file stays open; each line is
// written as it is made, so a program that dies loses none already traced.
#include <algorithm>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "simulator.h"

namespace {

// Values shown of an array before the rest is left out.
const long kTracedValues = 16;

enum class FieldKind { Int16, Int32, Unsigned32, Hex32, Double };

struct RecordField {
    const char* name;
    size_t offset;
    FieldKind kind;
};

const RecordField kBasicFields[] = {
    {"controllerType", offsetof(TavroBasicConfig, controllerType), FieldKind::Int32},
    {"axisCount", offsetof(TavroBasicConfig, axisCount), FieldKind::Int16},
};

const RecordField kControllerFields[] = {
    {"size", offsetof(TavroControllerConfig, size), FieldKind::Unsigned32},
    {"controllerType", offsetof(TavroControllerConfig, controllerType), FieldKind::Int32},
    {"axisCount", offsetof(TavroControllerConfig, axisCount), FieldKind::Int32},
    {"moduleSlots", offsetof(TavroControllerConfig, moduleSlots), FieldKind::Int32},
    {"flags", offsetof(TavroControllerConfig, flags), FieldKind::Hex32},
    {"digitalChannels", offsetof(TavroControllerConfig, digitalChannels), FieldKind::Int32},
    {"analogInputs", offsetof(TavroControllerConfig, analogInputs), FieldKind::Int32},
    {"analogOutputs", offsetof(TavroControllerConfig, analogOutputs), FieldKind::Int32},
    {"analogInMin", offsetof(TavroControllerConfig, analogInMin), FieldKind::Double},
    {"analogInMax", offsetof(TavroControllerConfig, analogInMax), FieldKind::Double},
    {"analogInBits", offsetof(TavroControllerConfig, analogInBits), FieldKind::Int32},
    {"analogOutMin", offsetof(TavroControllerConfig, analogOutMin), FieldKind::Double},
    {"analogOutMax", offsetof(TavroControllerConfig, analogOutMax), FieldKind::Double},
    {"analogOutBits", offsetof(TavroControllerConfig, analogOutBits), FieldKind::Int32},
};

const RecordField kAxisFields[] = {
    {"size", offsetof(TavroAxisConfig, size), FieldKind::Unsigned32},
    {"moduleType", offsetof(TavroAxisConfig, moduleType), FieldKind::Int32},
    {"axisFlags", offsetof(TavroAxisConfig, axisFlags), FieldKind::Hex32},
    {"captureFlags", offsetof(TavroAxisConfig, captureFlags), FieldKind::Hex32},
    {"captureBufferSize", offsetof(TavroAxisConfig, captureBufferSize), FieldKind::Int32},
    {"samplePeriodHigh", offsetof(TavroAxisConfig, samplePeriodHigh), FieldKind::Double},
    {"samplePeriodMed", offsetof(TavroAxisConfig, samplePeriodMed), FieldKind::Double},
    {"samplePeriodLow", offsetof(TavroAxisConfig, samplePeriodLow), FieldKind::Double},
};

const RecordField kMotionFields[] = {
    {"acceleration", offsetof(TavroMotionConfig, acceleration), FieldKind::Double},
    {"deceleration", offsetof(TavroMotionConfig, deceleration), FieldKind::Double},
    {"velocity", offsetof(TavroMotionConfig, velocity), FieldKind::Double},
    {"proportionalGain", offsetof(TavroMotionConfig, proportionalGain), FieldKind::Double},
    {"maxTorque", offsetof(TavroMotionConfig, maxTorque), FieldKind::Double},
    {"updateRate", offsetof(TavroMotionConfig, updateRate), FieldKind::Int16},
};

const RecordField kFilterFields[] = {
    {"derivativeGain", offsetof(TavroFilterConfig, derivativeGain), FieldKind::Double},
    {"derivativePeriod", offsetof(TavroFilterConfig, derivativePeriod), FieldKind::Double},
    {"integralGain", offsetof(TavroFilterConfig, integralGain), FieldKind::Double},
    {"integrationLimit", offsetof(TavroFilterConfig, integrationLimit), FieldKind::Double},
    {"velocityGain", offsetof(TavroFilterConfig, velocityGain), FieldKind::Double},
    {"maxFollowingError", offsetof(TavroFilterConfig, maxFollowingError), FieldKind::Double},
};

const RecordField kScaleFields[] = {
    {"encoderScale", offsetof(TavroScale, encoderScale), FieldKind::Double},
    {"auxEncoderScale", offsetof(TavroScale, auxEncoderScale), FieldKind::Double},
    {"outputScale", offsetof(TavroScale, outputScale), FieldKind::Double},
    {"positionScale", offsetof(TavroScale, positionScale), FieldKind::Double},
    {"velocityScale", offsetof(TavroScale, velocityScale), FieldKind::Double},
    {"timeScale", offsetof(TavroScale, timeScale), FieldKind::Double},
};

size_t FieldSize(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Int16: return sizeof(int16_t);
    case FieldKind::Double: return sizeof(double);
    default: return sizeof(int32_t);
    }
}

// Appends to a trace text, cutting what does not fit.
class TextWriter {
public:
    explicit TextWriter(TraceText* out) : out_(out) { out_->text[0] = '\0'; }

    void Put(const char* format, ...)
    {
        if (used_ >= sizeof out_->text - 1)
            return;
        va_list args;
        va_start(args, format);
        int n = vsnprintf(out_->text + used_, sizeof out_->text - used_, format, args);
        va_end(args);
        if (n > 0)
            used_ = std::min(used_ + static_cast<size_t>(n), sizeof out_->text - 1);
    }

    // Fields are read byte-wise: records are packed to 4 bytes.
    void Field(const RecordField& field, const unsigned char* record)
    {
        const unsigned char* at = record + field.offset;
        Put(first_ ? "%s=" : ", %s=", field.name);
        first_ = false;
        int16_t i16;
        int32_t i32;
        uint32_t u32;
        double d;
        switch (field.kind) {
        case FieldKind::Int16:
            std::memcpy(&i16, at, sizeof i16);
            Put("%d", i16);
            break;
        case FieldKind::Int32:
            std::memcpy(&i32, at, sizeof i32);
            Put("%ld", static_cast<long>(i32));
            break;
        case FieldKind::Unsigned32:
            std::memcpy(&u32, at, sizeof u32);
            Put("%lu", static_cast<unsigned long>(u32));
            break;
        case FieldKind::Hex32:
            std::memcpy(&u32, at, sizeof u32);
            Put("0x%lx", static_cast<unsigned long>(u32));
            break;
        case FieldKind::Double:
            std::memcpy(&d, at, sizeof d);
            Put("%.10g", d);
            break;
        }
    }

    void Separator()
    {
        if (!first_)
            Put(", ");
        first_ = false;
    }

private:
    TraceText* out_;
    size_t used_ = 0;
    bool first_ = true;
};

bool Tracing() { return Sim().trace.IsOpen(); }

// The fields lying wholly below `size` bytes of the record, in braces.
template <size_t N>
TraceText RecordText(const void* record, const RecordField (&fields)[N], size_t size)
{
    TraceText t;
    TextWriter w(&t);
    if (!Tracing())
        return t;
    if (!record) {
        w.Put("null");
        return t;
    }
    w.Put("{");
    for (const RecordField& field : fields) {
        if (field.offset + FieldSize(field.kind) <= size)
            w.Field(field, static_cast<const unsigned char*>(record));
    }
    w.Put("}");
    return t;
}

// Size of a sized record as its caller set it, at most the full record.
size_t SizeOf(const void* record, size_t full)
{
    uint32_t size = 0;
    if (record)
        std::memcpy(&size, record, sizeof size);
    return size < full ? size : full;
}

template <typename Value, typename Print>
TraceText ValuesText(const Value* values, long count, Print print)
{
    TraceText t;
    TextWriter w(&t);
    if (!Tracing())
        return t;
    if (!values) {
        w.Put("null");
        return t;
    }
    w.Put("{");
    for (long i = 0; i < count && i < kTracedValues; ++i) {
        Value v;
        std::memcpy(&v, values + i, sizeof v);
        w.Separator();
        print(w, v);
    }
    if (count > kTracedValues)
        w.Put(", ... %ld values", count);
    w.Put("}");
    return t;
}

void PrintDouble(TextWriter& w, double v) { w.Put("%.10g", v); }

} // namespace

void TraceFile::Open(const char* path)
{
    Close();
    // Others may read, write and remove the file while it is open.
    file_ = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void TraceFile::Close()
{
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
}

// Unbuffered: the line is with the system once the call returns.
void TraceFile::Write(const char* line, size_t length)
{
    DWORD written = 0;
    if (file_ != INVALID_HANDLE_VALUE)
        WriteFile(file_, line, static_cast<DWORD>(length), &written, nullptr);
}

TraceText Traced(const TavroBasicConfig* r) { return RecordText(r, kBasicFields, sizeof *r); }

TraceText Traced(const TavroControllerConfig* r)
{
    return RecordText(r, kControllerFields, SizeOf(r, sizeof *r));
}

TraceText Traced(const TavroAxisConfig* r) { return RecordText(r, kAxisFields, SizeOf(r, sizeof *r)); }

TraceText Traced(const TavroMotionConfig* r) { return RecordText(r, kMotionFields, sizeof *r); }

TraceText Traced(const TavroFilterConfig* r) { return RecordText(r, kFilterFields, sizeof *r); }

TraceText Traced(const TavroScale* r) { return RecordText(r, kScaleFields, sizeof *r); }

TraceText Traced(const double* value) { return TracedValues(value, 1); }

TraceText Traced(const short* value)
{
    return ValuesText(value, 1, [](TextWriter& w, short v) { w.Put("%d", v); });
}

TraceText Traced(const unsigned short* value)
{
    return ValuesText(value, 1, [](TextWriter& w, unsigned short v) { w.Put("0x%04x", v); });
}

TraceText TracedValues(const double* values, long count) { return ValuesText(values, count, PrintDouble); }

TraceText TracedValues(const int32_t* values, long count)
{
    return ValuesText(values, count, [](TextWriter& w, int32_t v) { w.Put("%ld", static_cast<long>(v)); });
}

TraceText TracedText(const char* text, short size)
{
    TraceText t;
    TextWriter w(&t);
    if (!Tracing())
        return t;
    if (!text || size <= 0) {
        w.Put(text ? "{}" : "null");
        return t;
    }
    size_t room = size > 128 ? 128 : static_cast<size_t>(size);
    w.Put("{\"%.*s\"}", static_cast<int>(strnlen(text, room)), text);
    return t;
}

TraceText TracedRegister(const void* value, short type)
{
    switch (type) {
    case 1: return Traced(static_cast<const short*>(value));
    case 2: return TracedValues(static_cast<const int32_t*>(value), 1);
    case 3:
        return ValuesText(static_cast<const float*>(value), 1, [](TextWriter& w, float v) { PrintDouble(w, v); });
    case 4: return Traced(static_cast<const double*>(value));
    default: return TracedValues(static_cast<const double*>(value), 0); // a type that carries nothing
    }
}

void EndCall(const char* name, long result, const char* format, ...)
{
    Simulator& sim = Sim();
    ++sim.callCounts[name];
    if (!sim.trace.IsOpen())
        return;
    char arguments[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(arguments, sizeof arguments, format, args);
    va_end(args);
    char line[1152];
    int length = snprintf(line, sizeof line, "%s(%s) = %ld\r\n", name, arguments, result);
    if (length < 0)
        return;
    if (static_cast<size_t>(length) >= sizeof line) { // cut, still one whole line
        length = sizeof line - 1;
        line[length - 2] = '\r';
        line[length - 1] = '\n';
    }
    sim.trace.Write(line, static_cast<size_t>(length));
}

void ResetCallCounts()
{
    Sim().callCounts.clear();
    Sim().deadHandleCalls = 0;
}

long CallCount(const char* name)
{
    const std::map<std::string, long>& counts = Sim().callCounts;
    auto it = counts.find(name ? name : "");
    return it == counts.end() ? 0 : it->second;
}
