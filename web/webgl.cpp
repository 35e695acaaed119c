// The one small WebGL program that draws each frame's batch (web/page.h): the vertices come
// already lit and in clip coordinates, so its shaders only pass them on, and a frame is two
// uploads (the vertices, and the indices that join them) and a draw call per run of lines
// or triangles, not thousands of calls.
// A lost context takes these objects with it; they are made again when it comes back.
#include "web/webgl.h"

#include "web/page.h"

#include <GLES2/gl2.h>

namespace {

const char* const vertex_source =
    "attribute vec4 position;\n"
    "attribute vec4 color;\n"
    "varying vec4 lit;\n"
    "void main() { gl_Position = position; lit = color; }\n";
// Colours at full precision where the device has it, so they round as the desktop's do.
const char* const fragment_source =
    "#ifdef GL_FRAGMENT_PRECISION_HIGH\n"
    "precision highp float;\n"
    "#else\n"
    "precision mediump float;\n"
    "#endif\n"
    "varying vec4 lit;\n"
    "void main() { gl_FragColor = lit; }\n";

GLuint shader(GLenum type, const char* source) {
  const GLuint s = glCreateShader(type);
  glShaderSource(s, 1, &source, nullptr);
  glCompileShader(s);
  return s;
}

}  // namespace

void make_gl_objects() {
  page.program = glCreateProgram();
  glAttachShader(page.program, shader(GL_VERTEX_SHADER, vertex_source));
  glAttachShader(page.program, shader(GL_FRAGMENT_SHADER, fragment_source));
  glBindAttribLocation(page.program, 0, "position");
  glBindAttribLocation(page.program, 1, "color");
  glLinkProgram(page.program);
  glUseProgram(page.program);
  glGenBuffers(1, &page.vertex_buffer);
  glGenBuffers(1, &page.index_buffer);
  glBindBuffer(GL_ARRAY_BUFFER, page.vertex_buffer);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, page.index_buffer);
  glEnableVertexAttribArray(0);
  glEnableVertexAttribArray(1);
  const auto stride = static_cast<GLsizei>(sizeof(Vertex));
  glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, stride, nullptr);
  glVertexAttribPointer(1, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                        reinterpret_cast<const void*>(offsetof(Vertex, color)));
}

// WebGL's is in single precision.
extern "C" void glClearDepth(GLclampd depth) {
  glClearDepthf(static_cast<GLclampf>(depth));
}

void draw_batch() {
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
