// One simulated axis: trajectory generator, servo loop and motor. Plain C++
// with no Windows calls, so the model can be exercised on its own.
#ifndef TAVROSIM_AXIS_MODEL_H
#define TAVROSIM_AXIS_MODEL_H

#include <vector>

#include "tavro_api.h"

// What the controller's configuration fixes for an axis.
struct AxisHardware {
    int moduleType = 1;
    bool servo = true;
    int captureFlags = 0;
    int bufferSize = 4096;
    double samplePeriod[3] = {0.00025, 0.0005, 0.001}; // High, Med, Low
    double scale = 1.0;           // power-on position scale, counts per user unit
    double limitPositive = 1e12;  // travel limits, counts
    double limitNegative = -1e12;
    double auxRatio = 1.0;        // auxiliary encoder counts per motor count
    short powerOnProfile = TAVRO_PROFILE_TRAPEZOIDAL;
};

// Settings the API reads and writes; the records are kept whole so that
// every byte written is read back unchanged. Their distances, speeds and
// accelerations are in user units of the present position scale.
struct AxisSettings {
    TavroMotionConfig motion;
    TavroFilterConfig filter;
    TavroScale scale;
    short profile = TAVRO_PROFILE_TRAPEZOIDAL;
    short outputPhase = 0;
    short outputMode = 0;
};

class AxisModel {
public:
    AxisModel() = default;
    void Configure(const AxisHardware& hardware, bool fractionalGains);
    void PowerOn(); // settings to their defaults, motor off, motion stopped

    const AxisHardware& Hardware() const { return hw_; }
    AxisSettings& Settings() { return settings_; }
    const AxisSettings& Settings() const { return settings_; }

    // Sample period of the present update rate, seconds.
    double SamplePeriod() const;

    // User units: a position is counts / position scale; a distance, speed
    // or acceleration counts per one user unit, whatever the scale's sign.
    double ToCounts(double position) const { return position * settings_.scale.positionScale; }
    double ToUnits(double counts) const { return counts / settings_.scale.positionScale; }
    double CountsPerUnit() const;
    // Servo updates happen every `Divider()` controller ticks.
    void SetDivider(int divider) { divider_ = divider; }
    int Divider() const { return divider_; }

    // One controller tick of length `tick` seconds; `masterCommand` is the
    // command of the gearing master (used only while geared).
    void Tick(double tick, double masterCommand);

    // Motion, in counts.
    void MoveTo(double target);
    void MoveBy(double distance);
    void Stop();
    void Abort();
    void Enable(bool on);
    void SetMode(int mode);
    void Redefine(double position);
    void StartGearing(int master, double ratio, double masterCommand);
    void StopGearing();
    void ForceError();
    void ForceLimit(bool positiveSide, bool on);

    // State, in counts.
    double Position() const;      // whole encoder counts
    double Command() const { return command_; }
    double Target() const { return target_; }
    double Torque() const { return hw_.servo ? torque_ : 0.0; }
    double AuxPosition() const;
    bool MotorOn() const { return motorOn_; }
    bool Error() const { return error_; }
    bool AtLimitPositive() const { return forcedLimit_[0] || limitHit_[0]; }
    bool AtLimitNegative() const { return forcedLimit_[1] || limitHit_[1]; }
    int Mode() const { return mode_; }
    bool Stopped() const; // trajectory complete
    int GearMaster() const { return geared_ ? gearMaster_ : 0; }
    unsigned StatusWord() const;

private:
    void StepTrajectory(double dt);
    void StepServo(double dt);
    void StepMotor(double dt);
    void ResetSmoothing(); // the next profile step refills the window from the command
    double Smooth(double raw);
    int SmoothingLength(double dt) const;
    void CheckLimits();
    void EndProfile(); // target, profile and command where the axis stands

    AxisHardware hw_;
    AxisSettings settings_;
    bool fractional_ = false;
    int divider_ = 1;
    int tickCount_ = 0;

    // Trajectory.
    int mode_ = 2;
    double target_ = 0.0;
    double raw_ = 0.0;      // unsmoothed profile position
    double rawSpeed_ = 0.0; // signed velocity of the profile
    double command_ = 0.0;
    double commandVelocity_ = 0.0;
    std::vector<double> window_;
    size_t windowPos_ = 0;
    double windowSum_ = 0.0;
    int settled_ = 0;

    bool geared_ = false;
    int gearMaster_ = 0;
    double gearRatio_ = 1.0;
    double gearMasterBase_ = 0.0;
    double gearSlaveBase_ = 0.0;

    // Servo.
    bool motorOn_ = false;
    bool error_ = false;
    double integrator_ = 0.0;
    double derivativeTerm_ = 0.0;
    double lastDerivativeError_ = 0.0;
    double derivativeClock_ = 0.0;
    double demand_ = 0.0;   // controller output, volts
    double torque_ = 0.0;   // amplifier output, volts

    // Motor.
    double position_ = 0.0;
    double velocity_ = 0.0;
    double load_ = 0.0;
    bool limitHit_[2] = {false, false};
    bool forcedLimit_[2] = {false, false};
};

// A position scale the model works with: its magnitude from 1e-6 to 1e9.
bool UsableScale(double scale);

// Default gains of the two gain families.
void DefaultGains(bool fractional, TavroMotionConfig* motion, TavroFilterConfig* filter);

#endif
