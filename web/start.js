// Starts the program once the browser is known to have what it needs; where it lacks
// WebAssembly or WebGL, or the program cannot start, the page says so in place of the picture.
// The page's own input beside the picture's is set up here too: the key bar and the guards.
(function() {
  var canvas = document.getElementById('canvas'), panel = document.getElementById('console');
  // The language: the address's ?lang=, else the one chosen here last time, else none, and the
  // program's own texts. A code is the program's to judge: an unknown one, it names on the
  // console, and the texts stay the default.
  var stored = {}, address = new URLSearchParams(location.search), picker = document.getElementById('lang');
  try { stored = localStorage; } catch (e) {}  // none in a frame that may not keep anything
  var lang = address.has('lang') ? address.get('lang') : stored['foucault-lang'] || '';
  // Only a table's own entries: ?lang=constructor is no language.
  var own = function(table, key) { return Object.prototype.hasOwnProperty.call(table, key) && table[key]; };
  var texts = own(foucaultTexts, lang);
  function tr(text) { return texts && own(texts, text) || text; }
  // The shell's texts and labels, and the messages it keeps for the scripts, in that language.
  if (texts) {
    document.documentElement.lang = picker.value = lang;
    document.querySelectorAll('title, body *:not(script, template)').forEach(function(element) {
      element.childNodes.forEach(function(node) { if (node.nodeType == 3) node.data = tr(node.data); });
      Array.from(element.attributes).forEach(function(a) { if (/^(aria-label|data-)/.test(a.name)) a.value = tr(a.value); });
    });
  }
  // The address's other names, as the program's start-up options, for it to judge: ?latitude=10
  // is --latitude=10.
  var args = lang ? ['--lang=' + lang] : [];
  address.forEach(function(value, name) { if (name != 'lang') args.push('--' + name + '=' + value); });
  // A language picked is kept for the next visit, and the page opens again in it, as it is
  // now where the program runs (web/lesson.js), else as it was opened. The arrow keys, which
  // would pick the next one without opening the list, go no further: the list opens with
  // Space, Enter or Alt+Down, and the page changes once one is chosen in it.
  picker.addEventListener('keydown', function(e) { if (/^Arrow/.test(e.key) && !e.altKey) e.preventDefault(); });
  picker.addEventListener('change', function() {
    try { picker.value ? stored.setItem('foucault-lang', picker.value) : stored.removeItem('foucault-lang'); } catch (e) {}
    var to = new URL(window.foucaultAddress ? foucaultAddress() : location.href);
    picker.value ? to.searchParams.set('lang', picker.value) : to.searchParams.delete('lang');
    location.href = to;
  });
  function showError(what) {
    var box = document.getElementById('error');
    box.textContent = box.dataset[what];  // the messages are in web/shell.html
    box.hidden = false;
    canvas.hidden = true;
    document.documentElement.dataset.state = 'error';
  }
  // The picture and the menu have the program's menu: the browser's never opens over them,
  // whether the program's is open, closed, or the program has ended. A touchpad's pinch
  // never zooms the page (fingers are kept by the CSS's touch-action and overscroll-behavior).
  function keep(e) { if (e.cancelable) e.preventDefault(); }
  document.addEventListener('contextmenu', function(e) { if (e.target.closest('#canvas, #menu, #status')) keep(e); });
  document.addEventListener('wheel', function(e) { if (e.ctrlKey) keep(e); }, {passive: false});
  document.addEventListener('gesturestart', keep);  // Safari's pinch
  // The key bar of touch screens sends its keys down the keyboard's path (web/input.cpp).
  var bar = document.getElementById('keys');
  bar.addEventListener('mousedown', keep);  // the focus stays where it is
  bar.addEventListener('click', function(e) {
    var button = e.target.closest('button');
    if (button) window.dispatchEvent(new KeyboardEvent('keydown', {key: button.dataset.key}));
  });
  if (typeof WebAssembly != 'object') return showError('wasm');
  if (!document.createElement('canvas').getContext('webgl')) return showError('webgl');
  Foucault({
    canvas: canvas,
    arguments: args,
    // The menu's labels: the chosen language's, or, by default, the French of the catalogue.
    label: function(label) { return (lang ? label : foucaultTexts.fr[label] || label).trim(); },
    showError: showError,
    // Console lines go to the panel, byte for byte, and to the browser's console.
    print: function(line) {
      panel.textContent += line + '\n';
      panel.scrollTop = panel.scrollHeight;
      console.log(line);
    },
    onAbort: function() { showError('start'); },
  }).catch(function() { showError('start'); });
})();
