#include "anim/interpolators.h"

#include "anim/robot_frame.h"

template class StateInterpolator<bool>;
template class StateInterpolator<int>;
template class StateInterpolator<float>;
template class StateInterpolator<sm::Vec3>;
template class StateInterpolator<std::string>;
template class StateInterpolator<Robot::Frame*>;
template class LinearInterpolator<int>;
template class LinearInterpolator<float>;
template class LinearInterpolator<sm::Vec3>;
template class TCBInterpolator<int>;
template class TCBInterpolator<float>;
template class TCBInterpolator<sm::Vec3>;
template class TCBInterpolator<sm::Quat>;
