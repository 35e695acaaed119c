// GLUT's window system on a page: the canvas fitted to the browser's window, the mouse, the
// keys, touch (long press, drag, pinch, the key bar), the menus as an ARIA menu, full screen
// where the browser has it, the help page, and the end. Every call into the program goes
// through Emscripten's callUserCallback, as its own html5.h callbacks do.
var LibraryFoucaultPage = {
  $PAGE__deps: ['$callUserCallback'],
  $PAGE: {
    menus: [],
    button: -1,       // the mouse button that opens the menu
    attached: 0,      // and the menu it opens
    held: -1,         // the mouse button held down over the picture
    touch: {mode: ''},
    width: 0, height: 0, scale: 0,
    wantFull: false,  // full screen asked for, waiting for the user's gesture
    stopped: false,

    call: function(f) { if (!PAGE.stopped) callUserCallback(f); },

    // Hands f the event's place in the drawing buffer's pixels, as the handlers expect it.
    at: function(e, f) {
      var c = Module['canvas'], r = c.getBoundingClientRect();
      var x = Math.floor((e.clientX - r.left) * c.width / r.width);
      var y = Math.floor((e.clientY - r.top) * c.height / r.height);
      PAGE.call(function() { f(x, y); });
    },
    mouse: function(button, state, e) { PAGE.at(e, function(x, y) { _web_mouse(button, state, x, y); }); },
    motion: function(e) { PAGE.at(e, _web_motion); },
    key: function(key) {
      var special = {PageUp: 104, PageDown: 105}[key];  // GLUT_KEY_PAGE_UP, GLUT_KEY_PAGE_DOWN
      PAGE.call(function() { special ? _web_special(special) : _web_keyboard(key.charCodeAt(0)); });
    },

    // The buffer follows the canvas's CSS size times the pixel ratio; the program is told.
    fit: function() {
      var full = document.fullscreenElement || document.webkitFullscreenElement;
      document.body.classList.toggle('full', !!full);
      var c = Module['canvas'], r = c.getBoundingClientRect(), ratio = window.devicePixelRatio || 1;
      var w = Math.max(1, Math.round(r.width * ratio)), h = Math.max(1, Math.round(r.height * ratio));
      var scale = Math.max(1, Math.round(ratio));
      if (w == PAGE.width && h == PAGE.height && scale == PAGE.scale) return;
      c.width = PAGE.width = w;
      c.height = PAGE.height = h;
      PAGE.scale = scale;
      _web_reshape(w, h, scale);
    },

    // A page may go full screen only from a gesture: the request waits for the next one.
    fullScreen: function() {
      var root = document.documentElement, ask = root.requestFullscreen || root.webkitRequestFullscreen;
      PAGE.wantFull = false;
      if (!ask || document.fullscreenElement || document.webkitFullscreenElement) return;
      if (navigator.userActivation && !navigator.userActivation.isActive) return PAGE.wantFull = true;
      document.onwebkitfullscreenerror = function() { PAGE.wantFull = true; };  // older Safari
      try {
        var asked = ask.call(root);
        if (asked && asked.catch) asked.catch(function() { PAGE.wantFull = true; });
      } catch (e) {
        PAGE.wantFull = true;
      }
    },
    gesture: function() { if (PAGE.wantFull) PAGE.fullScreen(); },

    start: function() {
      var c = Module['canvas'], keys = document.getElementById('keys');
      var on = function(target, types, f, options) {
        types.split(' ').forEach(function(type) { target.addEventListener(type, f, options); });
      };
      on(document, 'mousedown', PAGE.outside, true);
      on(c, 'mousedown', PAGE.mousedown);
      on(window, 'mousemove', function(e) { if (PAGE.held >= 0) PAGE.motion(e); });
      on(window, 'mouseup', function(e) {
        if (e.button == PAGE.held) PAGE.mouse(PAGE.held, 1, e), PAGE.held = -1;
      });
      on(c, 'contextmenu', function(e) { e.preventDefault(); });
      on(window, 'keydown', PAGE.keydown);
      on(c, 'touchstart touchmove touchend touchcancel', PAGE.touched, {passive: false});
      on(keys, 'mousedown', function(e) { e.preventDefault(); });  // the focus stays where it was
      on(keys, 'click', function(e) {
        PAGE.gesture();
        if (e.target.closest('button')) PAGE.key(e.target.closest('button').dataset.key);
      });
    },

    // A press outside an open menu closes it and goes no further.
    outside: function(e) {
      PAGE.gesture();
      if (!document.getElementById('menu') || e.target.closest('#menu')) return;
      PAGE.closeMenu();
      e.stopPropagation();
      e.preventDefault();
    },
    mousedown: function(e) {
      if (e.button == PAGE.button) {
        e.preventDefault();
        return PAGE.openMenu(e.clientX, e.clientY);
      }
      if (PAGE.held >= 0) return;
      PAGE.held = e.button;
      PAGE.mouse(e.button, 0, e);
    },

    keydown: function(e) {
      PAGE.gesture();
      if (document.getElementById('menu')) return PAGE.menuKey(e);
      var target = e.target, key = e.key;
      if (target != Module['canvas'] && target != document.body && target != document.documentElement) return;
      if (key == 'ContextMenu' || key == 'F10' && e.shiftKey) {
        var r = Module['canvas'].getBoundingClientRect();
        PAGE.openMenu(r.left + r.width / 2, r.top + r.height / 2);
      } else if (key == 'PageUp' || key == 'PageDown' ||
                 key.length == 1 && !e.ctrlKey && !e.altKey && !e.metaKey) {
        PAGE.key(key);
      } else {
        return;
      }
      e.preventDefault();
    },

    // One finger drags as the left button does, and held still for half a second opens the
    // menu; two fingers pinch the camera nearer or farther by Page Up and Page Down. Any other
    // touch ends what was going on and waits until every finger is lifted.
    touched: function(e) {
      var t = PAGE.touch, fingers = e.touches, first = e.changedTouches[0];
      if (e.cancelable) e.preventDefault();  // no scroll, zoom, callout or mouse events
      var was = e.type == 'touchstart' && PAGE.closeMenu() ? 'done' : t.mode;
      if (e.type == 'touchstart' && fingers.length == 1 && !was) {
        t.mode = 'drag';
        t.x = first.clientX, t.y = first.clientY, t.last = first;
        t.timer = setTimeout(PAGE.longPress, 500);
        PAGE.mouse(0, 0, first);
      } else if (e.type == 'touchstart') {
        PAGE.endDrag();
        t.mode = fingers.length == 2 && was != 'done' ? 'pinch' : 'done';
        t.spread = PAGE.spread(fingers);
      } else if (e.type == 'touchmove' && t.mode == 'drag') {
        t.last = first;
        if (Math.hypot(first.clientX - t.x, first.clientY - t.y) >= 10) clearTimeout(t.timer);
        PAGE.motion(first);
      } else if (e.type == 'touchmove' && t.mode == 'pinch') {
        for (var d = PAGE.spread(fingers); d >= t.spread * 1.25; t.spread *= 1.25) PAGE.key('PageUp');
        for (; d <= t.spread / 1.25; t.spread /= 1.25) PAGE.key('PageDown');
      } else if (e.type == 'touchend' || e.type == 'touchcancel') {
        PAGE.endDrag();
        t.mode = fingers.length ? 'done' : '';
        if (e.type == 'touchend') PAGE.gesture();
      }
    },
    spread: function(f) {
      return f.length < 2 ? 0 : Math.hypot(f[0].clientX - f[1].clientX, f[0].clientY - f[1].clientY);
    },
    endDrag: function() {
      var t = PAGE.touch;
      clearTimeout(t.timer);
      if (t.mode == 'drag') PAGE.mouse(0, 1, t.last);
      t.mode = 'done';
    },
    longPress: function() {
      var last = PAGE.touch.last;
      PAGE.endDrag();
      PAGE.openMenu(last.clientX, last.clientY);
    },

    // The menu tree as nested ARIA menus; an entry remembers its menu's callback and value.
    build: function(id) {
      var list = document.createElement('ul');
      list.setAttribute('role', 'menu');
      PAGE.menus[id - 1].items.forEach(function(item) {
        var entry = list.appendChild(document.createElement('li'));
        entry.setAttribute('role', 'menuitem');
        entry.tabIndex = -1;
        entry.appendChild(document.createElement('span')).textContent = item.label;
        entry.item = item;
        if (!item.sub) return;
        entry.setAttribute('aria-haspopup', 'menu');
        entry.setAttribute('aria-expanded', 'false');
        entry.appendChild(PAGE.build(item.sub));
      });
      return list;
    },
    openMenu: function(x, y) {
      if (!PAGE.attached || PAGE.stopped) return;
      PAGE.closeMenu();
      var root = document.body.appendChild(PAGE.build(PAGE.attached)), box;
      root.id = 'menu';
      root.addEventListener('click', PAGE.clicked);
      root.addEventListener('pointerover', function(e) {
        var entry = e.target.closest('li');
        if (e.pointerType == 'mouse' && entry) PAGE.focus(entry), PAGE.expand(entry, true);
      });
      root.addEventListener('contextmenu', function(e) { e.preventDefault(); });
      root.style.left = x + 'px';
      root.style.top = y + 'px';
      box = root.getBoundingClientRect();
      // Kept inside the window; submenus open to the left where the right has no room.
      root.style.left = Math.max(0, Math.min(x, innerWidth - box.width)) + 'px';
      root.style.top = Math.max(0, Math.min(y, innerHeight - box.height)) + 'px';
      root.classList.toggle('flip', box.right + box.width > innerWidth);
      PAGE.focus(root.firstChild);
    },
    // Closes the open menu, if any, and gives the focus back to the picture.
    closeMenu: function() {
      var menu = document.getElementById('menu');
      if (!menu) return false;
      menu.remove();
      Module['canvas'].focus();
      return true;
    },
    focus: function(entry) {
      var old = document.querySelector('#menu li[tabindex="0"]');
      if (old) old.tabIndex = -1;
      entry.tabIndex = 0;
      entry.focus();
    },
    // Opens (or closes) an entry's submenu; its sisters' submenus close.
    expand: function(entry, open) {
      entry.parentNode.querySelectorAll('[aria-expanded]').forEach(function(other) {
        if (other != entry) other.setAttribute('aria-expanded', false);
      });
      if (entry.item.sub) entry.setAttribute('aria-expanded', open);
    },
    choose: function(entry) {
      var menu = PAGE.menus[entry.item.menu - 1], value = entry.item.value;
      PAGE.closeMenu();
      PAGE.call(function() { _web_menu_choice(menu.callback, value); });
    },
    clicked: function(e) {
      var entry = e.target.closest('li');
      if (!entry) return;
      if (!entry.item.sub) return PAGE.choose(entry);
      PAGE.focus(entry);
      PAGE.expand(entry, entry.getAttribute('aria-expanded') != 'true');
    },
    // The WAI-ARIA menu's keys; no key reaches the program while the menu is open.
    menuKey: function(e) {
      var entry = document.querySelector('#menu li[tabindex="0"]'), sisters = entry.parentNode.children;
      var n = sisters.length, i = Array.prototype.indexOf.call(sisters, entry);
      var parent = entry.parentNode.closest('li');
      var key = e.key == ' ' ? 'Enter' : e.key;
      e.preventDefault();
      if (key == 'ArrowDown') PAGE.focus(sisters[(i + 1) % n]);
      else if (key == 'ArrowUp') PAGE.focus(sisters[(i + n - 1) % n]);
      else if (key == 'Home' || key == 'End') PAGE.focus(sisters[key == 'Home' ? 0 : n - 1]);
      else if ((key == 'ArrowRight' || key == 'Enter') && entry.item.sub) {
        PAGE.expand(entry, true);
        PAGE.focus(entry.querySelector('li'));
      } else if (key == 'Enter') PAGE.choose(entry);
      else if ((key == 'ArrowLeft' || key == 'Escape') && parent) {
        PAGE.expand(parent, false);
        PAGE.focus(parent);
      } else if (key == 'Escape' || key == 'Tab') PAGE.closeMenu();
    },
  },

  glutCreateMenu: function(callback) {
    PAGE.menus.push({callback: callback, items: []});
    return PAGE.menus.length;
  },
  glutAddMenuEntry: function(label, value) {
    var menu = PAGE.menus.length;
    PAGE.menus[menu - 1].items.push({label: UTF8ToString(label), value: value, menu: menu});
  },
  glutAddSubMenu: function(label, sub) {
    PAGE.menus[PAGE.menus.length - 1].items.push({label: UTF8ToString(label), sub: sub});
  },
  glutAttachMenu: function(button) {
    PAGE.button = button;
    PAGE.attached = PAGE.menus.length;
  },

  // Once per frame, before the program draws (so fit's reshape runs inside the loop's call).
  web_frame: function() {
    if (!window.foucaultFrames) {
      PAGE.start();
      document.documentElement.dataset.state = 'running';
    }
    PAGE.fit();
    window.foucaultFrames = (window.foucaultFrames || 0) + 1;
  },
  web_full_screen: function() { PAGE.fullScreen(); },
  web_fail_webgl: function() { Module['showError']('webgl'); },  // web/start.js

  // The loop has stopped: the handlers go quiet and the picture stands, dimmed.
  web_stop: function() {
    PAGE.closeMenu();
    PAGE.stopped = true;
    document.body.classList.add('stopped');
    document.documentElement.dataset.state = 'stopped';
  },

  // The help entry's "open ./help.html ..." opens the help page, carried inside this one.
  system: function(command) {
    window.open(URL.createObjectURL(new Blob([Module['helpPage']], {type: 'text/html'})), '_blank');
    return 0;
  },
};

autoAddDeps(LibraryFoucaultPage, '$PAGE');
mergeInto(LibraryManager.library, LibraryFoucaultPage);
