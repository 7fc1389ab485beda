// Data capture, command blocks, raw commands and the block's repeat tail.
#include <cmath>
#include <cstring>

#include "exports.h"
#include "simulator.h"

namespace {

// Raw commands of the repeat tail; 120 closes it and returns to the block's
// first motion while register 0 still holds a count.
enum : short { kRawRepeatBegin = 134, kRawRepeatClear = 163, kRawRepeatLength = 6, kRawRepeatJump = 120 };

// Ops a block may run in one tick before the rest waits for the next.
const int kOpsPerTick = 1000;

// A read never runs the model further ahead than this; later samples are
// reported as not captured yet.
const double kLongestRunAhead = 60.0;

int64_t Ticks(const Controller& c, double seconds)
{
    return static_cast<int64_t>(std::floor(seconds / c.tick + 0.5));
}

bool KnownRaw(short code)
{
    return code == TAVRO_RAW_START_CAPTURE || code == kRawRepeatBegin || code == kRawRepeatClear
        || code == kRawRepeatLength || code == kRawRepeatJump;
}

long ClampPoints(const AxisModel& axis, long points)
{
    long buffer = axis.Hardware().bufferSize;
    return points > buffer ? buffer : points;
}

// Records the set-up of a capture; the capture starts with StartCapture.
// The period is kept as asked (in whole ticks) even below the axis's own
// servo period, so the caller's time base stays true.
void SetUpCapture(Controller& c, short axis, double period, double delay)
{
    Capture& cap = c.captures[static_cast<size_t>(axis - 1)];
    int64_t periodTicks = Ticks(c, period);
    if (periodTicks < 1)
        periodTicks = 1;
    cap.period = periodTicks * c.tick;
    cap.periodTicks = static_cast<int>(periodTicks);
    cap.delay = delay;
}

void RunRaw(Controller& c, const BlockOp& op, Block* block)
{
    if (op.code == TAVRO_RAW_START_CAPTURE) {
        StartCapture(c, op.axis, op.count);
    } else if (op.code == kRawRepeatJump && block && c.registers[0] >= 1.0) {
        c.registers[0] -= 1.0;
        block->next = block->loopStart;
        return;
    }
    if (block)
        ++block->next;
}

bool StepBlock(Controller& c)
{
    Block& b = c.block;
    const BlockOp& op = b.ops[b.next];
    AxisModel* axis = AxisOf(&c, op.axis);
    switch (op.kind) {
    case BlockOp::CaptureSetup:
        SetUpCapture(c, op.axis, op.a, op.b);
        StartCapture(c, op.axis, op.count);
        ++b.next;
        return true;
    case BlockOp::Raw:
        RunRaw(c, op, &b);
        return true;
    case BlockOp::MoveRelative:
        axis->MoveBy(op.a);
        ++b.next;
        return true;
    case BlockOp::MoveAbsolute:
        axis->MoveTo(op.a);
        ++b.next;
        return true;
    case BlockOp::Gearing:
        if (op.count)
            axis->StartGearing(op.code, op.a, c.axes[static_cast<size_t>(op.code - 1)].Command());
        else
            axis->StopGearing();
        ++b.next;
        return true;
    case BlockOp::WaitForStop:
        if (!b.waiting) {
            if (!axis->Stopped())
                return false;
            b.waiting = true;
            b.dwellUntil = c.ticks + Ticks(c, op.a);
        }
        if (c.ticks < b.dwellUntil)
            return false;
        b.waiting = false;
        ++b.next;
        return true;
    }
    return false;
}

bool ReleasesGearingOf(const Block& b, short slave)
{
    for (const BlockOp& op : b.ops) {
        if (op.kind == BlockOp::Gearing && op.count == 0 && op.axis == slave)
            return true;
    }
    return false;
}

// A block that ends before its last op, or is replaced, leaves no pair
// coupled that it would have uncoupled: gearing it has yet to release is
// released now, except a slave that `successor`, the block replacing it,
// releases itself (it may have been geared again for that block).
void ReleasePendingGearing(Controller& c, const Block& b, const Block* successor)
{
    for (size_t i = b.next; i < b.ops.size(); ++i) {
        const BlockOp& op = b.ops[i];
        if (op.kind != BlockOp::Gearing || op.count != 0 || (successor && ReleasesGearingOf(*successor, op.axis)))
            continue;
        if (AxisModel* slave = AxisOf(&c, op.axis))
            slave->StopGearing();
    }
}

} // namespace

void StartCapture(Controller& c, short axis, long points)
{
    Capture& cap = c.captures[static_cast<size_t>(axis - 1)];
    if (cap.periodTicks < 1 || cap.period <= 0.0)
        SetUpCapture(c, axis, c.axes[static_cast<size_t>(axis - 1)].SamplePeriod(), 0.0);
    cap.points = ClampPoints(c.axes[static_cast<size_t>(axis - 1)], points < 1 ? 1 : points);
    cap.actual.clear();
    cap.optimal.clear();
    cap.torque.clear();
    cap.aux.clear();
    cap.running = true;
    cap.startTick = c.ticks + Ticks(c, cap.delay) + cap.periodTicks;
}

void CaptureTick(Controller& c)
{
    for (size_t i = 0; i < c.captures.size(); ++i) {
        Capture& cap = c.captures[i];
        if (!cap.running || c.ticks < cap.startTick || (c.ticks - cap.startTick) % cap.periodTicks != 0)
            continue;
        const AxisModel& a = c.axes[i];
        cap.actual.push_back(a.Position());
        cap.optimal.push_back(a.Command());
        cap.torque.push_back(a.Torque());
        cap.aux.push_back(a.AuxPosition());
        if (static_cast<long>(cap.actual.size()) >= cap.points)
            cap.running = false;
    }
}

void BlockTick(Controller& c)
{
    Block& b = c.block;
    for (int n = 0; b.running && n < kOpsPerTick; ++n) {
        if (b.next >= b.ops.size()) {
            b.running = false;
            break;
        }
        if (!StepBlock(c))
            break;
    }
}

void EndBlockOf(Controller& c, short axis)
{
    Block& b = c.block;
    if (!b.running)
        return;
    bool commands = false;
    for (const BlockOp& op : b.ops)
        commands = commands || op.axis == axis;
    if (!commands)
        return;
    ReleasePendingGearing(c, b, nullptr);
    c.block = Block();
}

extern "C" short TavroCaptureData(short handle, short axis, long points, double period, double delay)
{
    SimGuard guard;
    Controller* c;
    AxisModel* a;
    short result = AxisStatus(handle, axis, &c, &a);
    if (result == TAVRO_OK) {
        if (a->Hardware().captureFlags == 0)
            result = TAVRO_ERR_NOT_SUPPORTED;
        else if (points < 1 || !std::isfinite(period) || period <= 0.0 || period > 10.0 || !std::isfinite(delay)
                 || delay < 0.0 || delay > 3600.0)
            result = TAVRO_ERR_BAD_ARGUMENT;
        else if (c->recordingBlock) {
            BlockOp op{BlockOp::CaptureSetup};
            op.axis = axis;
            op.count = points;
            op.a = period;
            op.b = delay;
            c->recording.ops.push_back(op);
        } else {
            SetUpCapture(*c, axis, period, delay);
            StartCapture(*c, axis, points);
        }
    }
    EndCall("TavroCaptureData", result, "%d, %d, %ld, %.6f, %.6f", handle, axis, points, period, delay);
    return result;
}

// A sample not taken yet but due runs the model ahead until it is.
extern "C" short TavroGetCaptureData(short handle, short axis, short kind, long start, long count, double* values)
{
    SimGuard guard;
    Controller* c;
    AxisModel* a;
    short result = AxisStatus(handle, axis, &c, &a);
    if (!values || count < 1 || count > 65536)
        result = TAVRO_ERR_BAD_ARGUMENT;
    else if (result == TAVRO_OK) {
        int flags = a->Hardware().captureFlags;
        Capture& cap = c->captures[static_cast<size_t>(axis - 1)];
        const std::vector<double>* series = nullptr;
        if (flags == 0)
            result = TAVRO_ERR_NOT_SUPPORTED;
        else if (kind == TAVRO_CAPTURE_KIND_ACTUAL)
            series = &cap.actual;
        else if (kind == TAVRO_CAPTURE_KIND_OPTIMAL)
            series = &cap.optimal;
        else if (kind == TAVRO_CAPTURE_KIND_TORQUE && (flags & TAVRO_CAPTURE_TORQUE))
            series = &cap.torque;
        else if (kind == TAVRO_CAPTURE_KIND_AUX && (flags & TAVRO_CAPTURE_AUX))
            series = &cap.aux;
        else
            result = TAVRO_ERR_NOT_SUPPORTED;
        if (series) {
            // count is at most 65536, so neither side can overflow.
            if (start < 0 || start > cap.points - count)
                result = TAVRO_ERR_NOT_CAPTURED;
            else {
                long end = start + count;
                long taken = static_cast<long>(series->size());
                if (end > taken && cap.running) {
                    int64_t due = cap.startTick + static_cast<int64_t>(end - 1) * cap.periodTicks;
                    if (due > c->ticks && (due - c->ticks) * c->tick <= kLongestRunAhead)
                        RunTicks(*c, due - c->ticks);
                    taken = static_cast<long>(series->size());
                }
                if (end > taken) {
                    result = TAVRO_ERR_NOT_CAPTURED;
                } else {
                    // Captured positions are counts, read in user units.
                    bool position = series != &cap.torque;
                    for (long i = 0; i < count; ++i) {
                        double v = (*series)[static_cast<size_t>(start + i)];
                        values[i] = position ? a->ToUnits(v) : v;
                    }
                }
            }
        }
    }
    if (result != TAVRO_OK && values && count >= 1 && count <= 65536)
        std::memset(values, 0, static_cast<size_t>(count) * sizeof(double));
    long filled = count >= 1 && count <= 65536 ? count : 0;
    EndCall("TavroGetCaptureData", result, "%d, %d, %d, %ld, %ld, %s", handle, axis, kind, start, count,
            TracedValues(values, filled).text);
    return result;
}

extern "C" short TavroBlockBegin(short handle, short kind, short number)
{
    SimGuard guard;
    short result = TAVRO_ERR_BAD_HANDLE;
    if (Controller* c = ControllerOfHandle(handle)) {
        if (c->recordingBlock)
            result = TAVRO_ERR_BLOCK;
        else {
            c->recording = Block();
            c->recordingBlock = true;
            result = TAVRO_OK;
        }
    }
    EndCall("TavroBlockBegin", result, "%d, %d, %d", handle, kind, number);
    return result;
}

// Starts the stored block at once on the controller's clock; a block still
// running is replaced, and the rest of it dropped.
extern "C" short TavroBlockEnd(short handle, short number)
{
    SimGuard guard;
    short result = TAVRO_ERR_BAD_HANDLE;
    if (Controller* c = ControllerOfHandle(handle)) {
        if (!c->recordingBlock)
            result = TAVRO_ERR_BLOCK;
        else {
            c->recordingBlock = false;
            Block& b = c->block;
            if (b.running)
                ReleasePendingGearing(*c, b, &c->recording);
            b = c->recording;
            c->recording = Block();
            b.loopStart = 0;
            while (b.loopStart < b.ops.size()
                   && (b.ops[b.loopStart].kind == BlockOp::CaptureSetup
                       || (b.ops[b.loopStart].kind == BlockOp::Raw
                           && b.ops[b.loopStart].code == TAVRO_RAW_START_CAPTURE)))
                ++b.loopStart;
            b.running = true;
            BlockTick(*c);
            result = TAVRO_OK;
        }
    }
    EndCall("TavroBlockEnd", result, "%d, %d", handle, number);
    return result;
}

extern "C" short qorcmdex(short handle, short axis, short code, void* value, short type)
{
    SimGuard guard;
    short result = TAVRO_ERR_BAD_HANDLE;
    long number = 0;
    if (value && type == 1)
        number = *static_cast<short*>(value);
    else if (value && type == 2)
        number = *static_cast<int32_t*>(value);
    if (Controller* c = ControllerOfHandle(handle)) {
        AxisModel* a = AxisOf(c, axis);
        result = TAVRO_OK;
        if (!KnownRaw(code))
            result = TAVRO_ERR_NOT_SUPPORTED;
        else if (code == TAVRO_RAW_START_CAPTURE && !a)
            result = TAVRO_ERR_BAD_AXIS;
        else if (code == TAVRO_RAW_START_CAPTURE && a->Hardware().captureFlags == 0)
            result = TAVRO_ERR_NOT_SUPPORTED;
        else if (code == TAVRO_RAW_START_CAPTURE && number < 1)
            result = TAVRO_ERR_BAD_ARGUMENT;
        else {
            BlockOp op{BlockOp::Raw};
            op.axis = axis;
            op.code = code;
            op.count = number;
            if (c->recordingBlock)
                c->recording.ops.push_back(op);
            else
                RunRaw(*c, op, nullptr);
        }
    }
    EndCall("qorcmdex", result, "%d, %d, %d, %ld, %d", handle, axis, code, number, type);
    return result;
}
