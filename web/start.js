// Starts the program once the browser is known to have what it needs; where it lacks
// WebAssembly or WebGL, or the program cannot start, the page says so in place of the picture.
// The page's own input beside the picture's is set up here too: the key bar and the guards.
(function() {
  var canvas = document.getElementById('canvas'), panel = document.getElementById('console');
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
