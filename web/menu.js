// GLUT's menus on a page: the program's menu tree as nested WAI-ARIA menus, opened by the
// menu's button, a long press or Shift+F10 (web/input.cpp), always inside the window: a
// submenu opens beside its parent where there is room, and on a narrow screen in its
// parent's place, with a way back. The browser draws them, so they read in proper French by
// default, and what they show is what a screen reader says. A choice reaches the program's callback
// inside the click or key that made it.
var LibraryMenu = {
  $MENU__deps: ['web_menu_choice'],
  $MENU: {
    menus: [],
    root: 0,
    // The tree as nested lists; an entry remembers its menu's callback and value.
    build: function(id) {
      var list = document.createElement('ul');
      list.setAttribute('role', 'menu');
      MENU.menus[id - 1].items.forEach(function(item) {
        var entry = MENU.entry(list, Module['label'](item.label));  // web/start.js
        entry.item = item;
        if (!item.sub) return;
        entry.setAttribute('aria-haspopup', 'menu');
        entry.setAttribute('aria-expanded', 'false');
        entry.appendChild(MENU.build(item.sub));
      });
      return list;
    },
    entry: function(list, text) {
      var entry = list.appendChild(document.createElement('li'));
      entry.setAttribute('role', 'menuitem');
      entry.tabIndex = -1;
      entry.appendChild(document.createElement('span')).textContent = text;
      return entry;
    },
    open: function(x, y) {
      var state = document.documentElement.dataset.state;
      if (!MENU.root || (state != 'running' && state != 'lost') || document.querySelector('dialog[open]')) return;
      MENU.close();
      var root = document.body.appendChild(MENU.build(MENU.root));
      root.id = 'menu';
      root.setAttribute('aria-label', document.getElementById('canvas').dataset.menu);
      root.addEventListener('click', MENU.clicked);
      root.addEventListener('keydown', MENU.key);
      MENU.place(root, x, y);
      MENU.focus(root.firstChild);
    },
    // Puts a menu at (x, y), moved back inside the window if it would leave it.
    place: function(menu, x, y) {
      var box = menu.getBoundingClientRect();
      menu.style.left = Math.max(0, Math.min(x, innerWidth - box.width)) + 'px';
      menu.style.top = Math.max(0, Math.min(y, innerHeight - box.height)) + 'px';
    },
    // Closes the open menu, if any, and gives the focus back to the picture.
    close: function() {
      var menu = document.getElementById('menu');
      if (menu) menu.remove(), document.getElementById('canvas').focus();
    },
    focus: function(entry) {
      var old = document.querySelector('#menu li[tabindex="0"]');
      if (old) old.tabIndex = -1;
      entry.tabIndex = 0;
      entry.focus();
    },
    // Opens (or closes) an entry's submenu; its sisters' submenus close.
    expand: function(entry, open) {
      entry.parentNode.querySelectorAll(':scope > [aria-expanded="true"]').forEach(function(other) {
        if (other != entry || !open) MENU.collapse(other);
      });
      if (!open || entry.getAttribute('aria-expanded') == 'true') return;
      entry.setAttribute('aria-expanded', 'true');
      var sub = entry.lastChild, parent = entry.parentNode.getBoundingClientRect();
      var row = entry.getBoundingClientRect(), width = sub.getBoundingClientRect().width;
      var x = parent.right + width <= innerWidth ? parent.right : parent.left - width, y = row.top;
      if (x < 0) {
        // No room beside its parent: the submenu takes the parent's place, with a way back.
        entry.parentNode.classList.add('covered');
        MENU.entry(sub, '\u25c2 ' + document.getElementById('canvas').dataset.back).className = 'back';
        sub.insertBefore(sub.lastChild, sub.firstChild);
        x = parent.left, y = parent.top;
      }
      MENU.place(sub, x, y);
    },
    collapse: function(entry) {
      var sub = entry.lastChild, back = sub.querySelector(':scope > .back');
      entry.setAttribute('aria-expanded', 'false');
      entry.parentNode.classList.remove('covered');
      if (back) back.remove();
      sub.querySelectorAll(':scope > [aria-expanded="true"]').forEach(MENU.collapse);
    },
    // Back to an entry from its submenu.
    back: function(sub) {
      var parent = sub.closest('li');
      MENU.collapse(parent);
      MENU.focus(parent);
    },
    choose: function(entry) {
      MENU.close();
      _web_menu_choice(entry.item.callback, entry.item.value);
    },
    clicked: function(e) {
      var entry = e.target.closest('li');
      if (!entry) return;
      if (entry.className == 'back') return MENU.back(entry.parentNode);
      if (!entry.item.sub) return MENU.choose(entry);
      MENU.focus(entry);
      MENU.expand(entry, entry.getAttribute('aria-expanded') != 'true');
      // In its parent's place, the submenu's way back takes the focus.
      if (entry.parentNode.classList.contains('covered')) MENU.focus(entry.lastChild.firstChild);
    },
    // The WAI-ARIA menu's keys; no key goes on to the program while the menu is open.
    key: function(e) {
      var entry = document.querySelector('#menu li[tabindex="0"]'), sisters = entry.parentNode.children;
      var n = sisters.length, i = Array.prototype.indexOf.call(sisters, entry);
      var sub = entry.parentNode.closest('li') && entry.parentNode;
      var key = e.key == ' ' ? 'Enter' : e.key;
      e.stopPropagation();
      if (key != 'Tab') e.preventDefault();
      if (key == 'ArrowDown') MENU.focus(sisters[(i + 1) % n]);
      else if (key == 'ArrowUp') MENU.focus(sisters[(i + n - 1) % n]);
      else if (key == 'Home' || key == 'End') MENU.focus(sisters[key == 'Home' ? 0 : n - 1]);
      else if (key == 'Enter' && entry.className == 'back') MENU.back(sub);
      else if ((key == 'ArrowRight' || key == 'Enter') && entry.item && entry.item.sub) {
        MENU.expand(entry, true);
        MENU.focus(entry.lastChild.firstChild);
      } else if (key == 'Enter') MENU.choose(entry);
      else if ((key == 'ArrowLeft' || key == 'Escape') && sub) MENU.back(sub);
      else if (key == 'Escape' || key == 'Tab') MENU.close();
    },
    // A press outside an open menu closes it and goes no further.
    outside: function(e) {
      if (!document.getElementById('menu') || e.target.closest('#menu')) return;
      MENU.close();
      e.stopPropagation();
      if (e.cancelable) e.preventDefault();
    },
  },
  $MENU__postset: "['mousedown', 'touchstart'].forEach(function(type) {" +
                  "  document.addEventListener(type, MENU.outside, {capture: true, passive: false});" +
                  "});",

  // A menu's number is its place in MENU.menus, from 1: the length push returns.
  glutCreateMenu: function(callback) { return MENU.menus.push({callback: callback, items: []}); },
  // The labels are Latin-1, as freeglut's menu font has them.
  glutAddMenuEntry: function(label, value) {
    var menu = MENU.menus[MENU.menus.length - 1];
    menu.items.push({label: AsciiToString(label), value: value, callback: menu.callback});
  },
  glutAddSubMenu: function(label, sub) {
    MENU.menus[MENU.menus.length - 1].items.push({label: AsciiToString(label), sub: sub});
  },
  // glutAttachMenu (web/glut.cpp): the menu made last is the one the button opens.
  web_attach_menu: function() { MENU.root = MENU.menus.length; },
  // At (x, y), CSS pixels from the picture's top left.
  web_open_menu: function(x, y) {
    var r = document.getElementById('canvas').getBoundingClientRect();
    MENU.open(r.left + x, r.top + y);
  },
};

autoAddDeps(LibraryMenu, '$MENU');
mergeInto(LibraryManager.library, LibraryMenu);
