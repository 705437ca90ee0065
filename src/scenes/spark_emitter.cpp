#include "scenes/spark_emitter.h"

#include "anim/random.h"
#include "platform/gl.h"
#include "scenes/frames.h"

namespace {

// One draw of the generator scaled to 0..1.
float Draw() { return static_cast<float>(Rand()) / 32767.0f; }

constexpr unsigned char kSparkColour[3] = {251, 190, 100};
constexpr float kStreakLength = 10.0f;  // velocity units from tail to head

}  // namespace

void SparkEmitter::SetEmitting(bool on) {
  emitting = on;
  if (!on) spawnCredit = 0.0f;
}

void SparkEmitter::Spawn(Particle& particle) {
  // The draw order is fixed: speed, z, y, x, then life.
  const float r1 = Draw();
  const float r2 = Draw();
  const float r3 = Draw();
  const float r4 = Draw();
  const float r5 = Draw();
  particle.position = position;
  const float speed = 2.0f * r1 + 1.0f;
  const float dz = r2 - 0.5f;
  const float dy = 0.9f * r3 + 0.1f;
  const float dx = r4 - 0.5f;
  particle.velocity = Scaled(sm::Normalized(sm::Vec3(dx, dy, dz)), speed);
  particle.velocity.y *= 2.0f;
  particle.life = 0.8f * r5 + 0.4f;
  particle.alive = true;
}

void SparkEmitter::Update(float dt) {
  if (emitting) spawnCredit += dt * kSpawnRate;
  for (Particle& particle : particles) {
    if (particle.alive) {
      if (particle.life >= 0.0f) {
        particle.life -= dt;
        particle.position = Plus(particle.position, Scaled(particle.velocity, dt * kSpeedScale));
        particle.velocity.y += 2.0f * (dt * -9.8f);
      } else {
        particle.alive = false;
      }
    }
    if (emitting && !particle.alive && spawnCredit >= 1.0f) {
      Spawn(particle);
      spawnCredit -= 1.0f;
    }
  }
}

int SparkMiddleAlpha(float life) {
  float fade = 1.0f;
  if (!(life > 0.0f)) {
    fade = 0.0f;
  } else if (life < 0.5f) {
    fade = 2.0f * life;
  }
  return static_cast<int>(fade * 150.0f);
}

void DrawSparks(const SparkEmitter& emitter, const sm::Mat4& projection, const sm::Mat4& view) {
  bool started = false;
  for (const SparkEmitter::Particle& particle : emitter.particles) {
    if (!particle.alive) continue;
    if (!started) {
      started = true;
      glPushAttrib(GL_CURRENT_BIT | GL_DEPTH_BUFFER_BIT | GL_ENABLE_BIT);
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE);
      glLineWidth(2.0f);
      glDisable(GL_TEXTURE_2D);
      glEnable(GL_DEPTH_TEST);
      glDepthMask(GL_TRUE);
      glMatrixMode(GL_PROJECTION);
      glLoadMatrixf(projection.a);
      glMatrixMode(GL_MODELVIEW);
      glLoadMatrixf(view.a);
    }
    const sm::Vec3& tail = particle.position;
    const sm::Vec3 head = Plus(tail, Scaled(particle.velocity, kStreakLength));
    const sm::Vec3 middle = Scaled(Plus(tail, head), 0.5f);
    const auto alpha = static_cast<unsigned char>(SparkMiddleAlpha(particle.life));
    glBegin(GL_LINE_STRIP);
    glColor4ub(kSparkColour[0], kSparkColour[1], kSparkColour[2], 0);
    glVertex3f(tail.x, tail.y, tail.z);
    glColor4ub(kSparkColour[0], kSparkColour[1], kSparkColour[2], alpha);
    glVertex3f(middle.x, middle.y, middle.z);
    glColor4ub(kSparkColour[0], kSparkColour[1], kSparkColour[2], 0);
    glVertex3f(head.x, head.y, head.z);
    glEnd();
  }
  if (started) glPopAttrib();
}
