// Motion commands, status and position read-outs. Positions and distances
// cross the API in user units (counts / position scale); the model counts.
#include <cmath>

#include "exports.h"
#include "simulator.h"

namespace {

const double kLargestPosition = 1e12;

bool ValidPosition(double v) { return std::isfinite(v) && std::fabs(v) < kLargestPosition; }

bool ValidVelocity(double v) { return std::isfinite(v) && v >= 0.0 && v <= kLargestPosition; }

// Inside a block the command is stored instead of run.
bool Recording(Controller* c) { return c && c->recordingBlock; }

short Move(short handle, short axis, double value, bool relative)
{
    Controller* c;
    AxisModel* a;
    short status = AxisStatus(handle, axis, &c, &a);
    if (status != TAVRO_OK)
        return status;
    if (!ValidPosition(value))
        return TAVRO_ERR_BAD_ARGUMENT;
    double counts = a->ToCounts(value);
    if (Recording(c)) {
        BlockOp op{relative ? BlockOp::MoveRelative : BlockOp::MoveAbsolute};
        op.axis = axis;
        op.a = counts;
        c->recording.ops.push_back(op);
    } else if (relative) {
        a->MoveBy(counts);
    } else {
        a->MoveTo(counts);
    }
    return TAVRO_OK;
}

// The axis's motor went off, or came on from off: a block commanding it ends.
void EndBlockOn(short handle, short axis)
{
    Controller* c;
    AxisModel* a;
    if (AxisStatus(handle, axis, &c, &a) == TAVRO_OK)
        EndBlockOf(*c, axis);
}

} // namespace

extern "C" short TavroMoveAbsolute(short handle, short axis, double position)
{
    SimGuard guard;
    short result = Move(handle, axis, position, false);
    EndCall("TavroMoveAbsolute", result, "%d, %d, %.6f", handle, axis, position);
    return result;
}

extern "C" short TavroMoveRelative(short handle, short axis, double distance)
{
    SimGuard guard;
    short result = Move(handle, axis, distance, true);
    EndCall("TavroMoveRelative", result, "%d, %d, %.6f", handle, axis, distance);
    return result;
}

extern "C" short TavroStop(short handle, short axis)
{
    SimGuard guard;
    short result = ChangeAxis(handle, axis, true, [&](AxisModel& a) { a.Stop(); });
    EndCall("TavroStop", result, "%d, %d", handle, axis);
    return result;
}

extern "C" short TavroAbort(short handle, short axis)
{
    SimGuard guard;
    short result = ChangeAxis(handle, axis, true, [&](AxisModel& a) { a.Abort(); });
    if (result == TAVRO_OK)
        EndBlockOn(handle, axis);
    EndCall("TavroAbort", result, "%d, %d", handle, axis);
    return result;
}

extern "C" short TavroEnableAxis(short handle, short axis, short state)
{
    SimGuard guard;
    bool wasOff = false;
    short result = ChangeAxis(handle, axis, true, [&](AxisModel& a) {
        wasOff = !a.MotorOn();
        a.Enable(state != 0);
    });
    // A block left pending on an axis that was off or tripped never runs on
    // after Motor On.
    if (result == TAVRO_OK && (state == 0 || wasOff))
        EndBlockOn(handle, axis);
    EndCall("TavroEnableAxis", result, "%d, %d, %d", handle, axis, state);
    return result;
}

extern "C" short TavroSetOperatingMode(short handle, short axis, short slave, short mode)
{
    SimGuard guard;
    short result = ChangeAxis(handle, axis, mode == 1 || mode == 2, [&](AxisModel& a) { a.SetMode(mode); });
    EndCall("TavroSetOperatingMode", result, "%d, %d, %d, %d", handle, axis, slave, mode);
    return result;
}

extern "C" short TavroSetPosition(short handle, short axis, double position)
{
    SimGuard guard;
    short result = ChangeAxis(handle, axis, ValidPosition(position),
                              [&](AxisModel& a) { a.Redefine(a.ToCounts(position)); });
    EndCall("TavroSetPosition", result, "%d, %d, %.6f", handle, axis, position);
    return result;
}

extern "C" short TavroSetVelocity(short handle, short axis, double velocity)
{
    SimGuard guard;
    short result = ChangeAxis(handle, axis, ValidVelocity(velocity),
                              [&](AxisModel& a) { a.Settings().motion.velocity = velocity; });
    EndCall("TavroSetVelocity", result, "%d, %d, %.6f", handle, axis, velocity);
    return result;
}

extern "C" short TavroGetVelocityEx(short handle, short axis, double* velocity)
{
    SimGuard guard;
    short result = ReadAxisValue(handle, axis, velocity,
                                 [](const AxisModel& a) { return a.Settings().motion.velocity; });
    EndCall("TavroGetVelocityEx", result, "%d, %d, %s", handle, axis, Traced(velocity).text);
    return result;
}

extern "C" short TavroEnableGearing(short handle, short slave, short master, double ratio, short state)
{
    SimGuard guard;
    Controller* c;
    AxisModel* s;
    short result = AxisStatus(handle, slave, &c, &s);
    if (result == TAVRO_OK) {
        AxisModel* m = AxisOf(c, master);
        if (!m)
            result = TAVRO_ERR_BAD_AXIS;
        else if (master == slave || !std::isfinite(ratio) || std::fabs(ratio) > 1e6)
            result = TAVRO_ERR_BAD_ARGUMENT;
        else if (Recording(c)) {
            BlockOp op{BlockOp::Gearing};
            op.axis = slave;
            op.code = master;
            op.count = state;
            op.a = ratio;
            c->recording.ops.push_back(op);
        } else if (state) {
            s->StartGearing(master, ratio, m->Command());
        } else {
            s->StopGearing();
        }
    }
    EndCall("TavroEnableGearing", result, "%d, %d, %d, %.6f, %d", handle, slave, master, ratio, state);
    return result;
}

// Outside a block nothing waits: the call answers at once.
extern "C" short TavroWaitForStop(short handle, short axis, double dwell)
{
    SimGuard guard;
    Controller* c;
    AxisModel* a;
    short result = AxisStatus(handle, axis, &c, &a);
    if (result == TAVRO_OK) {
        if (!std::isfinite(dwell) || dwell < 0.0 || dwell > 3600.0)
            result = TAVRO_ERR_BAD_ARGUMENT;
        else if (Recording(c)) {
            BlockOp op{BlockOp::WaitForStop};
            op.axis = axis;
            op.a = dwell;
            c->recording.ops.push_back(op);
        }
    }
    EndCall("TavroWaitForStop", result, "%d, %d, %.6f", handle, axis, dwell);
    return result;
}

// Nonzero when stopped; axis 0 asks for all axes. Never waits.
extern "C" short TavroIsStopped(short handle, short axis, double timeout)
{
    SimGuard guard;
    short result = 1;
    if (Controller* c = ControllerOfHandle(handle)) {
        if (axis == 0) {
            for (const AxisModel& a : c->axes) {
                if (!a.Stopped())
                    result = 0;
            }
        } else if (AxisModel* a = AxisOf(c, axis)) {
            result = a->Stopped() ? 1 : 0;
        }
    }
    EndCall("TavroIsStopped", result, "%d, %d, %.6f", handle, axis, timeout);
    return result;
}

extern "C" short TavroSetRegister(short handle, short reg, void* value, short type)
{
    SimGuard guard;
    short result = TAVRO_ERR_BAD_HANDLE;
    if (Controller* c = ControllerOfHandle(handle)) {
        result = TAVRO_OK;
        if (!value || reg < 0 || reg > 255)
            result = TAVRO_ERR_BAD_ARGUMENT;
        else if (type == 1)
            c->registers[reg] = *static_cast<short*>(value);
        else if (type == 2)
            c->registers[reg] = *static_cast<int32_t*>(value);
        else if (type == 3)
            c->registers[reg] = *static_cast<float*>(value);
        else if (type == 4)
            c->registers[reg] = *static_cast<double*>(value);
        else
            result = TAVRO_ERR_BAD_ARGUMENT;
    }
    EndCall("TavroSetRegister", result, "%d, %d, %s, %d", handle, reg, TracedRegister(value, type).text, type);
    return result;
}

extern "C" DWORD TavroGetStatus(short handle, short axis)
{
    SimGuard guard;
    Controller* c;
    AxisModel* a;
    DWORD result = AxisStatus(handle, axis, &c, &a) == TAVRO_OK ? a->StatusWord() : 0;
    EndCall("TavroGetStatus", static_cast<long>(result), "%d, %d", handle, axis);
    return result;
}

extern "C" short TavroDecodeStatus(short handle, DWORD status, short bit)
{
    SimGuard guard;
    short result = 0;
    if (ControllerOfHandle(handle) && bit >= 0 && bit < 32)
        result = (status >> bit) & 1u ? 1 : 0;
    EndCall("TavroDecodeStatus", result, "%d, 0x%lx, %d", handle, static_cast<unsigned long>(status), bit);
    return result;
}

extern "C" short TavroGetPositionEx(short handle, short axis, double* position)
{
    SimGuard guard;
    short result = ReadAxisValue(handle, axis, position, [](const AxisModel& a) { return a.ToUnits(a.Position()); });
    EndCall("TavroGetPositionEx", result, "%d, %d, %s", handle, axis, Traced(position).text);
    return result;
}

extern "C" short TavroGetTargetEx(short handle, short axis, double* target)
{
    SimGuard guard;
    short result = ReadAxisValue(handle, axis, target, [](const AxisModel& a) { return a.ToUnits(a.Target()); });
    EndCall("TavroGetTargetEx", result, "%d, %d, %s", handle, axis, Traced(target).text);
    return result;
}

extern "C" short TavroGetOptimalEx(short handle, short axis, double* optimal)
{
    SimGuard guard;
    short result = ReadAxisValue(handle, axis, optimal, [](const AxisModel& a) { return a.ToUnits(a.Command()); });
    EndCall("TavroGetOptimalEx", result, "%d, %d, %s", handle, axis, Traced(optimal).text);
    return result;
}

extern "C" short TavroGetTorque(short handle, short axis, double* torque)
{
    SimGuard guard;
    short result = ReadAxisValue(handle, axis, torque, [](const AxisModel& a) { return a.Torque(); });
    EndCall("TavroGetTorque", result, "%d, %d, %s", handle, axis, Traced(torque).text);
    return result;
}

extern "C" short TavroGetAuxEncPosEx(short handle, short axis, double* position)
{
    SimGuard guard;
    short result = ReadAxisValue(handle, axis, position, [](const AxisModel& a) { return a.ToUnits(a.AuxPosition()); });
    EndCall("TavroGetAuxEncPosEx", result, "%d, %d, %s", handle, axis, Traced(position).text);
    return result;
}
