// The GLUT pieces that Emscripten's GLUT lacks or that a page must do otherwise: the menus
// as an HTML menu, bitmap text drawn into the picture, full screen after a user
// gesture, keys by the character typed, drags at the pointer, the idle handler after each
// frame, and an end without exit.
var LibraryFoucaultWeb = {
  $WEB__deps: ['$GLUT', '$Browser', '$callUserCallback', 'glutFullScreen'],
  $WEB__postset: 'WEB.init();',
  $WEB: {
    menus: [],
    current: 0,
    attached: [],
    glyphs: [],
    baseline: 12,
    wantFullscreen: false,

    // Runs before main, so that GLUT's glutInit registers these handlers.
    init: function() {
      GLUT.onKeydown = WEB.keydown;
      GLUT.onMousemove = WEB.mousemove;
      // Ahead of GLUT's own listeners: a button with a menu never reaches the mouse callback.
      ['mousedown', 'mouseup'].forEach(function(type) { addEventListener(type, WEB.mouse, true); });
      addEventListener('contextmenu', function(e) { e.preventDefault(); });
      // freeglut calls the idle handler once after each frame; so does the page.
      Module['postMainLoop'] = function() {
        if (GLUT.idleFunc) callUserCallback(function() { {{{ makeDynCall('v', 'GLUT.idleFunc') }}}(); });
      };
      document.addEventListener('fullscreenchange', function() {
        var full = document.fullscreenElement != null;
        Browser.setCanvasSize(full ? screen.width : GLUT.initWindowWidth,
                              full ? screen.height : GLUT.initWindowHeight);
      });
    },

    // A page may go full screen only from a click or a key: a refused request waits for one.
    gesture: function() {
      if (WEB.wantFullscreen) {
        WEB.wantFullscreen = false;
        _glutFullScreen();
      }
    },

    // The character typed, whatever the keyboard's layout; Page Up and the like by key code.
    keydown: function(e) {
      WEB.gesture();
      var special = GLUT.getSpecialKey(e.keyCode);
      var key = e.key.length == 1 && !e.ctrlKey && !e.altKey && !e.metaKey ? e.key.charCodeAt(0) : 256;
      if (special !== null && GLUT.specialFunc) {
        e.preventDefault();
        callUserCallback(function() { {{{ makeDynCall('viii', 'GLUT.specialFunc') }}}(special, Browser.mouseX, Browser.mouseY); });
      } else if (special === null && key < 256 && GLUT.keyboardFunc) {
        e.preventDefault();
        callUserCallback(function() { {{{ makeDynCall('viii', 'GLUT.keyboardFunc') }}}(key, Browser.mouseX, Browser.mouseY); });
      }
    },

    // GLUT's own handler reports the position before the move.
    mousemove: function(e) {
      Browser.calculateMouseEvent(e);
      if (GLUT.buttons != 0 && GLUT.motionFunc) {
        callUserCallback(function() { {{{ makeDynCall('vii', 'GLUT.motionFunc') }}}(Browser.mouseX, Browser.mouseY); });
      }
    },

    mouse: function(e) {
      WEB.gesture();
      if (e.target.closest('#menu')) return;
      if (e.type == 'mousedown') WEB.hideMenu();
      if (!WEB.attached[e.button]) return;
      e.stopImmediatePropagation();
      if (e.type == 'mousedown' && e.target == Module['canvas']) WEB.showMenu(WEB.attached[e.button], e);
    },

    // A glyph of the 12-pixel sans-serif as runs of opaque pixels [row, first, end] in a
    // 16-pixel cell whose baseline is row 12, and its advance in whole pixels.
    glyph: function(character) {
      if (WEB.glyphs[character]) return WEB.glyphs[character];
      var ctx = document.createElement('canvas').getContext('2d', {willReadFrequently: true}), text = String.fromCharCode(character), runs = [];
      ctx.canvas.width = ctx.canvas.height = 16;
      ctx.font = '12px sans-serif';
      ctx.fillText(text, 0, WEB.baseline);
      var alpha = ctx.getImageData(0, 0, 16, 16).data;
      for (var row = 0; row < 16; row++) {
        for (var col = 0, first = -1; col <= 16; col++) {
          var on = col < 16 && alpha[(row * 16 + col) * 4 + 3] >= 128;
          if (on && first < 0) first = col;
          if (!on && first >= 0) runs.push([row, first, col]), first = -1;
        }
      }
      return WEB.glyphs[character] = {runs: runs, advance: Math.round(ctx.measureText(text).width)};
    },

    // Nested lists; a submenu opens while the pointer is over its entry (see index.html).
    build: function(id) {
      var menu = WEB.menus[id - 1], list = document.createElement('ul');
      menu.items.forEach(function(item) {
        var entry = list.appendChild(document.createElement('li'));
        entry.appendChild(document.createElement('span')).textContent = item.label;
        if (item.sub) return entry.appendChild(WEB.build(item.sub));
        entry.onclick = function() {
          WEB.hideMenu();
          callUserCallback(function() { {{{ makeDynCall('vi', 'menu.callback') }}}(item.value); });
        };
      });
      return list;
    },

    showMenu: function(id, e) {
      var root = document.body.appendChild(WEB.build(id));
      root.id = 'menu';
      root.style.left = e.pageX + 'px';
      root.style.top = e.pageY + 'px';
    },

    hideMenu: function() {
      var menu = document.getElementById('menu');
      if (menu) menu.remove();
    },
  },

  glutIdleFunc: function(func) {
    GLUT.idleFunc = func;
  },

  glutCreateMenu: function(callback) {
    WEB.menus.push({callback: callback, items: []});
    return WEB.current = WEB.menus.length;
  },

  glutAddMenuEntry: function(label, value) {
    WEB.menus[WEB.current - 1].items.push({label: UTF8ToString(label), value: value});
  },

  glutAddSubMenu: function(label, menu) {
    WEB.menus[WEB.current - 1].items.push({label: UTF8ToString(label), sub: menu});
  },

  glutAttachMenu: function(button) {
    WEB.attached[button] = WEB.current;
  },

  // Called by glRasterPos2i (fixed_function.cpp): window position, depth and colour.
  web_raster_pos: function(valid, x, y, z, r, g, b) {
    WEB.raster = {valid: valid, x: x, y: y, z: z, color: [r, g, b]};
  },

  // Each glyph is drawn into the picture like GL's bitmaps: pixel squares at the raster
  // depth, depth-tested, so the Earth hides the text behind it as on the desktop.
  glutBitmapCharacter__deps: ['glMatrixMode', 'glPushMatrix', 'glPopMatrix', 'glLoadIdentity',
                              'glBegin', 'glEnd', 'glColor4f', 'glVertex3f'],
  glutBitmapCharacter: function(font, character) {
    var pos = WEB.raster, glyph = WEB.glyph(character), view = GLctx.getParameter(GLctx.VIEWPORT);
    if (!pos || !pos.valid) return;
    var ndc = function(x, origin, size) { return 2 * (x - origin) / size - 1; };
    [0x1701, 0x1700].forEach(function(mode) { _glMatrixMode(mode); _glPushMatrix(); _glLoadIdentity(); });
    _glBegin(7 /* GL_QUADS */);
    glyph.runs.forEach(function(run) {
      var x0 = Math.floor(pos.x) + run[1], x1 = Math.floor(pos.x) + run[2], y = Math.floor(pos.y) + WEB.baseline - 1 - run[0];
      [[x0, y], [x1, y], [x1, y + 1], [x0, y + 1]].forEach(function(p) {
        _glColor4f(pos.color[0], pos.color[1], pos.color[2], 1);
        _glVertex3f(ndc(p[0], view[0], view[2]), ndc(p[1], view[1], view[3]), pos.z);
      });
    });
    _glEnd();
    // The program writes its text in model-view mode, which this leaves current again.
    [0x1701, 0x1700].forEach(function(mode) { _glMatrixMode(mode); _glPopMatrix(); });
    pos.x += glyph.advance;
  },

  // The whole page, so that the menu shows there too; the canvas then takes the screen's size.
  glutFullScreen: function() {
    document.documentElement.requestFullscreen().catch(function() { WEB.wantFullscreen = true; });
  },

  // The help entry's "open <page> ..." opens the page in a new tab.
  system: function(command) {
    window.open(URL.createObjectURL(new Blob([Module['helpPage']], {type: 'text/html'})), '_blank');
    return 0;
  },

  // A page cannot end: the loop and the handlers stop, and the picture stands still under
  // the farewell that the console panel shows.
  exit: function(status) {
    ['idleFunc', 'keyboardFunc', 'specialFunc', 'mouseFunc', 'motionFunc'].forEach(function(f) { GLUT[f] = 0; });
    WEB.attached = [];
    Module['preMainLoop'] = function() { return false; };
    document.body.classList.add('stopped');
    throw 'unwind';
  },
};

autoAddDeps(LibraryFoucaultWeb, '$WEB');
mergeInto(LibraryManager.library, LibraryFoucaultWeb);
