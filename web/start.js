// Starts the program once the browser is known to have what it needs; where it lacks
// WebAssembly or WebGL, or the program cannot start, the page says so in place of the picture.
(function() {
  var canvas = document.getElementById('canvas'), panel = document.getElementById('console');
  var messages = {
    wasm: 'Ce navigateur ne sait pas exécuter WebAssembly, dont le simulateur a besoin. ' +
          'Essayez un navigateur récent et à jour (Firefox, Chrome, Edge ou Safari), ou demandez ' +
          'à la personne qui gère cet ordinateur d’autoriser WebAssembly.',
    webgl: 'Ce navigateur ne dessine pas en 3D : WebGL, dont le simulateur a besoin, est absent ou ' +
           'désactivé. Essayez d’activer l’accélération matérielle dans les réglages du navigateur, ' +
           'de mettre à jour le navigateur ou la carte graphique, ou un autre navigateur.',
    start: 'Le simulateur n’a pas pu démarrer. Rechargez la page ; si cela recommence, essayez ' +
           'un autre navigateur récent et à jour.',
  };
  function showError(what) {
    var box = document.getElementById('error');
    box.textContent = messages[what];
    box.hidden = false;
    canvas.hidden = true;
    document.documentElement.dataset.state = 'error';
  }
  function webgl() {
    try {
      return !!(window.WebGLRenderingContext && document.createElement('canvas').getContext('webgl'));
    } catch (e) {
      return false;
    }
  }
  if (typeof WebAssembly != 'object' || typeof WebAssembly.instantiate != 'function') return showError('wasm');
  if (!webgl()) return showError('webgl');
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
