// The one small WebGL program that draws each frame's batch (web/page.h): the vertices come
// already lit and in clip coordinates, so its shaders only pass them on, and a frame is two
// uploads (the vertices, and the indices that join them) and a draw call per run of lines
// or triangles, not thousands of calls.
// A lost context takes these objects and WebGL's state with it; both are made again when it
// comes back.
#include "web/webgl.h"

#include "web/page.h"

#include <GL/freeglut.h>
#include <GLES2/gl2.h>

namespace {

const char* const vertex_source =
    "attribute vec4 position; attribute vec4 color; varying vec4 lit;\n"
    "void main() { gl_Position = position; lit = color; }\n";
// Colours at full precision where the device has it, so they round as the desktop's do.
const char* const fragment_source =
    "#ifdef GL_FRAGMENT_PRECISION_HIGH\nprecision highp float;\n"
    "#else\nprecision mediump float;\n#endif\n"
    "varying vec4 lit; void main() { gl_FragColor = lit; }\n";

GLuint shader(GLenum type, const char* source) {
  const GLuint s = glCreateShader(type);
  glShaderSource(s, 1, &source, nullptr);
  glCompileShader(s);
  return s;
}

}  // namespace

void make_gl_objects() {
  const GLuint program = glCreateProgram();
  glAttachShader(program, shader(GL_VERTEX_SHADER, vertex_source));
  glAttachShader(program, shader(GL_FRAGMENT_SHADER, fragment_source));
  glBindAttribLocation(program, 0, "position");
  glBindAttribLocation(program, 1, "color");
  glLinkProgram(program);
  glUseProgram(program);
  GLuint buffers[2];  // the vertices and the indices
  glGenBuffers(2, buffers);
  glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[1]);
  glEnableVertexAttribArray(0);
  glEnableVertexAttribArray(1);
  const auto stride = static_cast<GLsizei>(sizeof(Vertex));
  glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, stride, nullptr);
  glVertexAttribPointer(1, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                        reinterpret_cast<const void*>(offsetof(Vertex, color)));
  // The state WebGL keeps, as the program set it (web/fixed_function.cpp records it); its
  // depth function and clear depth are a new context's own.
  for (const auto& [cap, on] : page.enabled) (on ? glEnable : glDisable)(cap);
  glClearColor(page.clear_color[0], page.clear_color[1], page.clear_color[2], page.clear_color[3]);
  glViewport(page.gl.viewport[0], page.gl.viewport[1], page.gl.viewport[2], page.gl.viewport[3]);
}

// WebGL's is in single precision.
extern "C" void glClearDepth(GLclampd depth) {
  glClearDepthf(static_cast<GLclampf>(depth));
}

// The frame's batch goes to the card, a call per run; the browser shows it when the loop's
// call returns.
void glutSwapBuffers() {
  Batch& b = page.batch;
  if (!b.indices.empty() && !page.lost) {
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(b.vertices.size() * sizeof(Vertex)),
                 b.vertices.data(), GL_STREAM_DRAW);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(b.indices.size() * sizeof(GLushort)), b.indices.data(),
                 GL_STREAM_DRAW);
    for (const Run& run : b.runs) {
      glDrawElements(run.mode, run.count, GL_UNSIGNED_SHORT,
                     reinterpret_cast<const void*>(run.first * sizeof(GLushort)));
    }
  }
  b.vertices.clear();
  b.indices.clear();
  b.runs.clear();
  b.occluders.clear();
}
