// Trajectory generator, PID servo loop and motor of one simulated axis.
#include "axis_model.h"

#include <cmath>
#include <cstring>

namespace {

// Motor and amplifier, in encoder counts, seconds and volts.
const double kAccelPerVolt = 400000.0;  // counts/s^2 per volt of torque
const double kViscous = 20.0;           // 1/s
const double kCoulomb = 20000.0;        // counts/s^2 (0.05 V worth)
const double kAmplifierLag = 0.0004;    // s
const double kLoadLag = 0.001;          // s, auxiliary encoder behind the motor
const double kPhysicsStep = 0.00025;    // longest motor integration step, s
const double kLimitBackOff = 100.0;     // counts a limit switch stays on after the limit

// Servo law per unit of integer-family gain.
const double kP = 7.0e-5;   // volts per count
const double kD = 2.27e-4;  // volts per count of error change in kReferencePeriod
const double kReferencePeriod = 0.00025;
const double kI = 2.0e-3;   // volts per count-second
const double kV = 1.0e-6;   // volts per count/s of command velocity
// One unit of fractional gain is worth this many integer units.
const double kFractionalScale = 32767.0 / 20.0;

// Power-on motion settings in counts; the records hold them in user units.
const double kPowerOnVelocity = 20000.0;      // counts/s
const double kPowerOnAcceleration = 200000.0; // counts/s^2
const double kPowerOnFollowingError = 2000.0; // counts

double Sign(double v) { return v > 0.0 ? 1.0 : (v < 0.0 ? -1.0 : 0.0); }

} // namespace

bool UsableScale(double scale)
{
    double magnitude = std::fabs(scale);
    return magnitude >= 1e-6 && magnitude <= 1e9;
}

void DefaultGains(bool fractional, TavroMotionConfig* motion, TavroFilterConfig* filter)
{
    if (fractional) {
        motion->proportionalGain = 0.5;
        filter->derivativeGain = 3.6;
        filter->integralGain = 0.06;
    } else {
        motion->proportionalGain = 800.0;
        filter->derivativeGain = 6000.0;
        filter->integralGain = 100.0;
    }
    filter->velocityGain = 0.0;
}

void AxisModel::Configure(const AxisHardware& hardware, bool fractionalGains)
{
    hw_ = hardware;
    fractional_ = fractionalGains;
    PowerOn();
}

void AxisModel::PowerOn()
{
    std::memset(&settings_.motion, 0, sizeof settings_.motion);
    std::memset(&settings_.filter, 0, sizeof settings_.filter);
    std::memset(&settings_.scale, 0, sizeof settings_.scale);
    TavroScale& s = settings_.scale;
    s.encoderScale = 1.0;
    s.auxEncoderScale = 1.0;
    s.outputScale = 1.0;
    s.positionScale = hw_.scale;
    s.velocityScale = 1.0;
    s.timeScale = 1.0;
    const double perUnit = CountsPerUnit();
    TavroMotionConfig& m = settings_.motion;
    m.velocity = kPowerOnVelocity / perUnit;
    m.acceleration = kPowerOnAcceleration / perUnit;
    m.deceleration = kPowerOnAcceleration / perUnit;
    m.maxTorque = 10.0;
    m.updateRate = TAVRO_RATE_HIGH;
    TavroFilterConfig& f = settings_.filter;
    f.derivativePeriod = hw_.samplePeriod[0];
    f.integrationLimit = 5.0;
    f.maxFollowingError = kPowerOnFollowingError / perUnit;
    DefaultGains(fractional_, &m, &f);
    settings_.profile = hw_.powerOnProfile;
    settings_.outputPhase = 0;
    settings_.outputMode = 0;

    motorOn_ = false;
    error_ = false;
    geared_ = false;
    mode_ = 2;
    integrator_ = derivativeTerm_ = lastDerivativeError_ = derivativeClock_ = 0.0;
    demand_ = torque_ = 0.0;
    velocity_ = 0.0;
    double here = Position();
    position_ = here;
    load_ = here;
    target_ = raw_ = command_ = here;
    rawSpeed_ = commandVelocity_ = 0.0;
    ResetSmoothing();
    tickCount_ = 0;
}

double AxisModel::SamplePeriod() const
{
    switch (settings_.motion.updateRate) {
    case TAVRO_RATE_LOW: return hw_.samplePeriod[2];
    case TAVRO_RATE_MED: return hw_.samplePeriod[1];
    default: return hw_.samplePeriod[0];
    }
}

double AxisModel::CountsPerUnit() const { return std::fabs(settings_.scale.positionScale); }

double AxisModel::Position() const { return std::floor(position_ + 0.5); }

double AxisModel::AuxPosition() const { return std::floor(load_ * hw_.auxRatio + 0.5); }

bool AxisModel::Stopped() const
{
    if (geared_)
        return true;
    return command_ == target_ && raw_ == target_ && rawSpeed_ == 0.0;
}

unsigned AxisModel::StatusWord() const
{
    unsigned word = 0;
    if (motorOn_)
        word |= 1u << TAVRO_STAT_MOTOR_ON;
    if (error_)
        word |= 1u << TAVRO_STAT_ERROR;
    if (AtLimitPositive())
        word |= 1u << TAVRO_STAT_LIMIT_POS;
    if (AtLimitNegative())
        word |= 1u << TAVRO_STAT_LIMIT_NEG;
    return word;
}

// --- motion commands ------------------------------------------------------

void AxisModel::MoveTo(double target)
{
    if (geared_)
        return;
    target_ = target;
    if (mode_ == 1) {
        raw_ = command_ = target;
        rawSpeed_ = 0.0;
        ResetSmoothing();
    }
}

void AxisModel::MoveBy(double distance) { MoveTo(target_ + distance); }

void AxisModel::Stop()
{
    if (geared_)
        StopGearing();
    if (mode_ == 1) {
        target_ = command_;
        return;
    }
    double dec = settings_.motion.deceleration * CountsPerUnit();
    double stopDistance = dec > 0.0 ? rawSpeed_ * rawSpeed_ / (2.0 * dec) : 0.0;
    target_ = raw_ + Sign(rawSpeed_) * stopDistance;
}

void AxisModel::Abort()
{
    geared_ = false;
    motorOn_ = false;
    EndProfile();
}

// Switching the servo off ends the profile as Abort does; gearing stays.
void AxisModel::Enable(bool on)
{
    if (!on) {
        motorOn_ = false;
        EndProfile();
        return;
    }
    motorOn_ = true;
    error_ = false;
    integrator_ = derivativeTerm_ = derivativeClock_ = 0.0;
    lastDerivativeError_ = 0.0;
    gearSlaveBase_ += Position() - command_; // a geared axis keeps following from here
    EndProfile();
}

void AxisModel::EndProfile()
{
    target_ = raw_ = command_ = Position();
    rawSpeed_ = commandVelocity_ = 0.0;
    ResetSmoothing();
}

void AxisModel::SetMode(int mode)
{
    if (mode == mode_)
        return;
    mode_ = mode;
    target_ = raw_ = command_;
    rawSpeed_ = 0.0;
    ResetSmoothing();
}

void AxisModel::Redefine(double position)
{
    double shift = position - Position();
    position_ += shift;
    load_ += shift;
    target_ += shift;
    raw_ += shift;
    command_ += shift;
    gearSlaveBase_ += shift;
    for (double& v : window_)
        v += shift;
    windowSum_ += shift * static_cast<double>(window_.size());
}

void AxisModel::StartGearing(int master, double ratio, double masterCommand)
{
    geared_ = true;
    gearMaster_ = master;
    gearRatio_ = ratio;
    gearMasterBase_ = masterCommand;
    gearSlaveBase_ = command_;
}

void AxisModel::StopGearing()
{
    if (!geared_)
        return;
    geared_ = false;
    target_ = raw_ = command_;
    rawSpeed_ = 0.0;
    ResetSmoothing();
}

void AxisModel::ForceError()
{
    error_ = true;
    motorOn_ = false;
    EndProfile();
}

void AxisModel::ForceLimit(bool positiveSide, bool on) { forcedLimit_[positiveSide ? 0 : 1] = on; }

// --- the tick --------------------------------------------------------------

void AxisModel::Tick(double tick, double masterCommand)
{
    if (++tickCount_ < divider_)
        return;
    tickCount_ = 0;
    double dt = tick * divider_;
    double before = command_;
    // With the motor off no profile runs: the command stays where the axis is.
    if (motorOn_ || geared_)
        StepTrajectory(dt);
    else
        EndProfile();
    if (geared_) {
        command_ = gearSlaveBase_ + gearRatio_ * (masterCommand - gearMasterBase_);
        target_ = raw_ = command_;
    }
    commandVelocity_ = (command_ - before) / dt;
    if (!hw_.servo) {
        if (motorOn_)
            position_ = load_ = command_;
        CheckLimits();
        return;
    }
    StepServo(dt);
    StepMotor(dt);
    CheckLimits();
}

int AxisModel::SmoothingLength(double dt) const
{
    if (settings_.profile != TAVRO_PROFILE_SCURVE && settings_.profile != TAVRO_PROFILE_PARABOLIC)
        return 1;
    const TavroMotionConfig& m = settings_.motion;
    double jerkTime = m.acceleration > 0.0 ? 0.5 * m.velocity / m.acceleration : 0.0;
    if (jerkTime > 0.05)
        jerkTime = 0.05;
    if (settings_.profile == TAVRO_PROFILE_PARABOLIC)
        jerkTime *= 0.5;
    int n = static_cast<int>(jerkTime / dt + 0.5);
    return n < 1 ? 1 : n;
}

void AxisModel::ResetSmoothing()
{
    window_.clear();
    windowPos_ = 0;
    windowSum_ = 0.0;
    settled_ = 0;
}

// Moving average of the raw profile: turns the trapezoid into a
// jerk-limited curve.
double AxisModel::Smooth(double raw)
{
    size_t n = window_.size();
    if (n <= 1)
        return raw;
    windowSum_ += raw - window_[windowPos_];
    window_[windowPos_] = raw;
    windowPos_ = (windowPos_ + 1) % n;
    return windowSum_ / static_cast<double>(n);
}

void AxisModel::StepTrajectory(double dt)
{
    if (mode_ == 1 || geared_)
        return;
    const TavroMotionConfig& m = settings_.motion;
    const double perUnit = CountsPerUnit();
    const double velocity = m.velocity * perUnit;
    const double acceleration = m.acceleration * perUnit;
    const double deceleration = m.deceleration * perUnit;
    double rem = target_ - raw_;
    if (rem != 0.0 || rawSpeed_ != 0.0) {
        double dir = Sign(rem);
        double speed = rawSpeed_ * dir; // along the way to the target
        if (dir == 0.0 || speed < 0.0) {
            // Moving away from the target: brake first.
            double v = rawSpeed_;
            double brake = deceleration * dt;
            v = std::fabs(v) <= brake ? 0.0 : v - Sign(v) * brake;
            rawSpeed_ = v;
            raw_ += v * dt;
        } else {
            double allowed = std::sqrt(2.0 * deceleration * std::fabs(rem));
            if (velocity < allowed)
                allowed = velocity;
            if (speed < allowed) {
                speed += acceleration * dt;
                if (speed > allowed)
                    speed = allowed;
            } else {
                speed -= deceleration * dt;
                if (speed < allowed)
                    speed = allowed;
            }
            double step = speed * dt;
            if (step >= std::fabs(rem)) {
                raw_ = target_;
                rawSpeed_ = 0.0;
            } else {
                raw_ += dir * step;
                rawSpeed_ = dir * speed;
            }
        }
    }

    int n = SmoothingLength(dt);
    if (n <= 1) {
        if (!window_.empty())
            ResetSmoothing();
        command_ = raw_;
        return;
    }
    if (static_cast<int>(window_.size()) != n) {
        // A new length starts from where the command stands.
        window_.assign(static_cast<size_t>(n), command_);
        windowPos_ = 0;
        windowSum_ = command_ * n;
    }
    command_ = Smooth(raw_);
    if (raw_ == target_ && rawSpeed_ == 0.0) {
        if (++settled_ >= n) {
            command_ = target_;
            window_.assign(static_cast<size_t>(n), target_);
            windowSum_ = target_ * n;
        }
    } else {
        settled_ = 0;
    }
}

void AxisModel::StepServo(double dt)
{
    if (!motorOn_) {
        demand_ = 0.0;
        return;
    }
    const TavroMotionConfig& m = settings_.motion;
    const TavroFilterConfig& f = settings_.filter;
    double scale = fractional_ ? kFractionalScale : 1.0;
    double e = command_ - Position();
    double maxError = f.maxFollowingError * CountsPerUnit();
    if (maxError > 0.0 && std::fabs(e) > maxError) {
        ForceError();
        demand_ = 0.0;
        return;
    }

    double derivativePeriod = f.derivativePeriod > dt ? f.derivativePeriod : dt;
    derivativeClock_ += dt;
    if (derivativeClock_ >= derivativePeriod - 1e-12) {
        derivativeTerm_ = kD * scale * f.derivativeGain * (e - lastDerivativeError_) * kReferencePeriod
                        / derivativeClock_;
        lastDerivativeError_ = e;
        derivativeClock_ = 0.0;
    }

    double ki = kI * scale * f.integralGain;
    integrator_ += e * dt;
    if (ki > 0.0) {
        double limit = f.integrationLimit / ki;
        if (integrator_ > limit)
            integrator_ = limit;
        if (integrator_ < -limit)
            integrator_ = -limit;
    } else {
        integrator_ = 0.0;
    }

    double u = kP * scale * m.proportionalGain * e + derivativeTerm_ + ki * integrator_
             + kV * scale * f.velocityGain * commandVelocity_;
    double maxTorque = m.maxTorque > 0.0 ? m.maxTorque : 0.0;
    if (u > maxTorque)
        u = maxTorque;
    if (u < -maxTorque)
        u = -maxTorque;
    demand_ = u;
}

void AxisModel::StepMotor(double dt)
{
    int steps = static_cast<int>(std::ceil(dt / kPhysicsStep - 1e-9));
    if (steps < 1)
        steps = 1;
    double h = dt / steps;
    double ampFactor = 1.0 - std::exp(-h / kAmplifierLag);
    double loadFactor = 1.0 - std::exp(-h / kLoadLag);
    for (int i = 0; i < steps; ++i) {
        torque_ += (demand_ - torque_) * ampFactor;
        double drive = kAccelPerVolt * torque_;
        double accel;
        if (velocity_ == 0.0 && std::fabs(drive) <= kCoulomb) {
            accel = 0.0;
        } else {
            accel = drive - kViscous * velocity_ - kCoulomb * Sign(velocity_ != 0.0 ? velocity_ : drive);
            double next = velocity_ + accel * h;
            // Friction stops the motor; it never reverses it.
            if (velocity_ != 0.0 && Sign(next) != Sign(velocity_) && std::fabs(drive) <= kCoulomb) {
                velocity_ = 0.0;
                continue;
            }
        }
        velocity_ += accel * h;
        position_ += velocity_ * h;
        load_ += (position_ - load_) * loadFactor;
    }
}

void AxisModel::CheckLimits()
{
    // A switch once hit stays on until the axis has backed off a little.
    limitHit_[0] = position_ >= hw_.limitPositive || (limitHit_[0] && position_ > hw_.limitPositive - kLimitBackOff);
    limitHit_[1] = position_ <= hw_.limitNegative || (limitHit_[1] && position_ < hw_.limitNegative + kLimitBackOff);
    // A limit halts motion toward it; motion away is allowed.
    if ((AtLimitPositive() && rawSpeed_ > 0.0) || (AtLimitNegative() && rawSpeed_ < 0.0)) {
        target_ = raw_ = command_;
        rawSpeed_ = 0.0;
        ResetSmoothing();
    }
}
